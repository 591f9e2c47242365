// The searches of the local listing chb.cad, next to the program: the exact-name search of
// the places it serves and the listing of one dong.
#include <QApplication>
#include <QDir>
#include <QLabel>

#include "BusyCursor.h"
#include "Prompt.h"
#include "frmMain.h"
#include "search/LocalListing.h"
#include "startup/ProgramGlobals.h"
#include "ui_frmMain.h"

namespace {

const QString kNoData = QStringLiteral("검색한 지역에는 자료가 없습니다.");
const QString kCount = QStringLiteral("%1 건이 검색되었습니다");
const QString kOpenFailedTitle = QStringLiteral("오류 (M0010)");
const QString kOpenFailed = QStringLiteral("지역 자료 파일을 열 수 없습니다.\r\n\r\n%1\r\n(%2)");

// chb.cad lies in the program folder, two levels above the documents folder.
QString localListingFile() {
    return QDir::cleanPath(strDocsPath + QStringLiteral("../../chb.cad"));
}

// The failure of a search, once, with the file it concerns; the list stays empty.
void reportFailure(const telvia::Status& status) {
    qWarning("chb.cad: %s", status.message().c_str());
    msgBox(kOpenFailed.arg(QDir::toNativeSeparators(localListingFile()),
                           QString::fromStdString(status.message())),
           PromptButtons::Ok, PromptIcon::Error, kOpenFailedTitle, Beep::Yes);
}

}  // namespace

void frmMain::localExactNameSearch() {
    showListHeaders(m_ui->lvResult,
                    {QStringLiteral("이 름"), QStringLiteral("전 화"), QStringLiteral("우편번호"),
                     QStringLiteral("주 소")},
                    {1000, 1200, 1200, 4500});
    showPanes(Pane::Result);
    search::LocalResult found = [&] {
        const BusyCursor busy;
        return search::exactNameSearch(localListingFile(), m_ui->txtSearch->text(), selectedCode());
    }();
    if (!found.status.ok()) {
        m_localCount = 0;
        m_ui->vsElastic3->setText(QString());
        reportFailure(found.status);
        return;
    }
    m_localCount = static_cast<int>(found.rows.size());
    m_resultModel->appendRows(std::move(found.rows));
    // lvResult holds the results now, as after a name search (a dong search of the name kind
    // may have left its mode behind, and dialling reads the list by the mode).
    if (m_localCount > 0) setSearchMode(SearchMode::Name);
    if (m_localCount == 0) msgBox(kNoData, PromptButtons::Ok, PromptIcon::Information, QString());
    m_ui->vsElastic3->setStyleSheet(QString());
    m_ui->vsElastic3->setText(kCount.arg(m_localCount));
}

void frmMain::localDongListing() {
    showListHeaders(m_ui->lvDongResult,
                    {QStringLiteral("인명"), QStringLiteral("전화"), QStringLiteral("우편번호"),
                     QStringLiteral("주소")},
                    {1000, 1200, 800, 4000});
    search::LocalResult found = [&] {
        const BusyCursor busy;
        return search::dongListing(localListingFile(), selectedCode(), m_ui->txtSung->text(),
                                   m_searchMode == SearchMode::Surname);
    }();
    if (!found.status.ok()) {
        m_localCount = 0;
        m_ui->vsElastic11->setText(QString());
        reportFailure(found.status);
        return;
    }
    m_localCount = static_cast<int>(found.rows.size());
    m_dongModel->appendRows(std::move(found.rows));
    if (m_localCount == 0) msgBox(kNoData, PromptButtons::Ok, PromptIcon::Information, QString());
    m_ui->vsElastic11->setStyleSheet(QString());
    m_ui->vsElastic11->setText(kCount.arg(m_localCount));
}
