// The name search through zendari1: candidates while typing, the records of a chosen name,
// the dong and surname scans page by page, and the switches into and out of the dong search.
#include <QApplication>
#include <QLabel>
#include <QTreeView>

#include "BusyCursor.h"
#include "Orvello.h"
#include "Prompt.h"
#include "frmMain.h"
#include "search/NameSearch.h"
#include "ui_frmMain.h"

namespace {

const QString kNotice = QStringLiteral("알림");
const QString kConfirm = QStringLiteral("확인");
const QString kLimitText = QStringLiteral(
    "결과가 %1건을 초과합니다.\r\n\r\nTelvia의 결과 출력은 %1건으로 제한되 있습니다.");
const QString kChooseRegion = QStringLiteral("지역을 선택하세요");
const QString kFound = QStringLiteral("%1건이 검색되었습니다.");
const QString kNoMatch = QStringLiteral(
    "검색지역에는 입력과 일치하는 내용이 없습니다.\r\n다른 지역을 선택하여 검색 하십시오");
const QString kChooseDong =
    QStringLiteral("지역선택항목에서 검색하고자하는 동을 지정하여 주십시요?");
const QString kLoading = QStringLiteral("CD-ROM에서 데이터를 로딩중입니다. 잠시 기다려 주십시오.");
const QString kNothingInRange = QStringLiteral(
    "현재 지정된 범위에는 자료가 없습니다.\r\n\r\n다음찾기 버튼을 클릭하여 계속하시겠습니까?");
const QString kScanCount = QStringLiteral("현재 검색된 건수는 %1건 입니다");
const QString kNoSurnameMatch = QStringLiteral("검색된 결과가 없습니다.");
const QString kFullQuestion = QStringLiteral(
    "동별 전체검색은 검색하는데 시스템에 따라 수십분이\r\n"
    "소요될 수 있습니다. 그래도 계속하시겠습니까 ?");
const QString kMustChooseDong = QStringLiteral("검색하고자 하는 동을 반드시 지정하십시오.");
const QString kDongListed = QStringLiteral("지정된 동의 자료를 모두 검색하였습니다.");

const QStringList kNameHeaders = {QStringLiteral("이 름"), QStringLiteral("전 화"),
                                  QStringLiteral("우편번호"), QStringLiteral("주 소")};
const QStringList kScanHeaders = {QStringLiteral("이름"), QStringLiteral("전화"),
                                  QStringLiteral("우편번호"), QStringLiteral("주소")};

}  // namespace

void frmMain::connectNames() {
    connect(m_ui->lvSearch, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (m_searchModel->rowCount() == 0 || !index.isValid()) return;
        const QString text = m_searchModel->cell(index.row(), 0);
        // The copied name is no new search; an unchanged text brings no change to skip.
        if (m_ui->txtSearch->text() != text) {
            m_skipNextChange = true;
            m_ui->txtSearch->setText(text);
        }
    });
    // A double click searches by the same route as the search button and Enter.
    connect(m_ui->lvSearch, &QTreeView::doubleClicked, this, &frmMain::searchCommand);
    connect(m_ui->cmdNext, &QPushButton::clicked, this, &frmMain::cmdNextClick);
    connect(m_ui->cmdFull, &QPushButton::clicked, this, &frmMain::cmdFullClick);
    connect(m_ui->cmdSungSearch, &QPushButton::clicked, this, &frmMain::cmdSungSearchClick);
    connect(m_ui->cmdDongSeek, &QPushButton::clicked, this, &frmMain::cmdDongSeekClick);
    connect(m_ui->cmdDongSungSearch, &QPushButton::clicked, this, &frmMain::cmdDongSungSearchClick);
    connect(m_ui->cmdEnd, &QPushButton::clicked, this, &frmMain::cmdEndClick);
}

void frmMain::ListNames() {
    m_refreshing = true;
    // A new lookup: the count caption of an earlier search no longer describes the lists.
    m_ui->vsElastic3->clear();
    const QString word = searchWord();
    const QString areaCode = selectedCode();
    // Without a region there is no index to ask (the control would refuse region 0).
    if (word.isEmpty() || areaCode.isEmpty() || !m_zendari.isLoaded()) {
        m_searchModel->clear();
        m_refreshing = false;
        return;
    }
    if (isNameKind()) {
        std::vector<search::ResultRow> rows;
        m_controlRegion.select(m_zendari, areaCode);
        // Consonants typed (ㄱㅇㅅ, 김ㅇㅅ) look names up by their initials; the candidates
        // are full names all the same.
        const QString name = search::nameForLookup(word);
        for (search::Candidate& c : search::isInitialsLookup(name)
                                        ? search::listNamesByInitials(m_zendari, name)
                                        : search::listNames(m_zendari, name)) {
            rows.push_back({{std::move(c.name)}, std::move(c.tag)});
        }
        m_searchModel->clear();
        m_searchModel->appendRows(std::move(rows));
    }
    m_refreshing = false;
}

void frmMain::ShowNameRecords(const QString& name, const QString& firstAndCount,
                              const QString& areaCode) {
    const BusyCursor busy;
    showListHeaders(m_ui->lvResult, kNameHeaders, {1000, 1200, 1200, 4500});
    // The caption above the list may still count a local search's rows; these are others.
    m_ui->vsElastic3->clear();
    const int limit = Orvello::leadingNumber(
        Orvello::Read(QStringLiteral("Option"), QStringLiteral("MaxDisplayCount"), "0"));
    search::NameRecords found =
        search::nameRecords(m_zendari, name, firstAndCount, areaCode, limit, m_excluded.nameResult);
    m_foundCount = static_cast<int>(found.rows.size());
    m_resultModel->appendRows(std::move(found.rows));
    if (found.limitReached) {
        msgBox(kLimitText.arg(limit), PromptButtons::Ok, PromptIcon::Information, kNotice);
    }
    if (m_foundCount > 0) setSearchMode(SearchMode::Name);
}

void frmMain::nameSearchFromList() {
    showPanes(Pane::Result);
    setResultCommands(true);
    if (!m_ui->tvArea->currentItem()) {
        msgBox(kChooseRegion, PromptButtons::Ok, PromptIcon::Information, kNotice);
        return;
    }
    // The candidate chosen, else the first one listed.
    QModelIndex chosen = m_ui->lvSearch->currentIndex();
    if (!chosen.isValid() && m_searchModel->rowCount() > 0) chosen = m_searchModel->index(0, 0);
    const QString name = chosen.isValid() ? m_searchModel->cell(chosen.row(), 0) : QString();
    const QString tag = chosen.isValid() ? m_searchModel->row(chosen.row()).tag : QString();
    // Counts of earlier searches do not belong to this one.
    m_foundCount = 0;
    m_localCount = 0;
    ShowNameRecords(name, tag, selectedCode());
    const int total = m_foundCount + m_localCount;
    if (total > 0) {
        setStatus(3, kFound.arg(total));
        Orvello::Save(QStringLiteral("CurrentSearch"), QStringLiteral("Human"), name);
    } else {
        msgBox(kNoMatch, PromptButtons::Ok, PromptIcon::Information, kNotice);
        inputState();
    }
}

void frmMain::cmdFullClick() {
    if (msgBox(kFullQuestion, PromptButtons::YesNo, PromptIcon::Question, kConfirm) !=
        PromptAnswer::Yes) {
        return;
    }
    runDongSearch(false, true);
}

void frmMain::cmdNextClick() {
    runDongSearch(false, false);
}

void frmMain::cmdSungSearchClick() {
    runDongSearch(true, false);
}

// The first steps "다음 찾기", "전체 찾기" and "성씨 검색" share: offer the commands on results,
// insist on a dong, and send the locally served areas to the local listing. A full page is
// asked for by "전체 찾기" alone and only for the page it runs.
void frmMain::runDongSearch(bool surname, bool fullPage) {
    const BusyCursor busy;
    setResultCommands(true);
    if (m_ui->txtDong->text().isEmpty()) {
        msgBox(kChooseDong, PromptButtons::Ok, PromptIcon::Information, kNotice);
        return;
    }
    m_dongResult = true;
    if (search::indexRegionCode(selectedCode()) == search::kLocalListingRegion) {
        localDongListing();
        return;
    }
    m_localCount = 0;
    m_controlRegion.select(m_zendari, selectedCode());
    if (surname) {
        showSurnameScan();
    } else {
        showDongScanPage(fullPage);
    }
}

// What every scan page does before it asks the control: fresh headers, the button caption
// after a new dong, and the blue loading notice painted at once (the scan blocks).
void frmMain::beginScanPage(int addressWidth) {
    clearList(m_ui->lvDongResult);
    showListHeaders(m_ui->lvDongResult, kScanHeaders, {1000, 1200, 800, addressWidth});
    if (m_dongChanged) {
        m_ui->cmdNext->setText(QStringLiteral("다음찾기"));
        m_dongChanged = false;
    }
    setBlueCaption(m_ui->vsElastic11, kLoading);
    m_ui->vsElastic11->repaint();
}

void frmMain::showDongScanPage(bool fullPage) {
    while (true) {
        const int page = fullPage ? search::kFullScanPage : m_scanPage;
        fullPage = false;
        beginScanPage(4000);
        const zendari::Variant args[] = {zendari::ZendariClient::text(selectedCode()),
                                         std::int32_t{page}};
        std::vector<search::ResultRow> rows = search::scanRows(
            m_zendari.callText(zendari::kDispGetLocNext, args), m_excluded.scanResult);
        // At the region's end there is no next page to offer.
        m_dongListed = m_zendari.getBool(zendari::kDispScanEnded);
        updateDongCommands();
        const int total = static_cast<int>(rows.size()) + m_localCount;
        m_dongModel->appendRows(std::move(rows));
        setBlueCaption(m_ui->vsElastic11,
                       m_dongListed ? kScanCount.arg(total) + QStringLiteral(". ") + kDongListed
                                    : kScanCount.arg(total));
        if (total > 0) return;
        QApplication::restoreOverrideCursor();
        const bool more =
            !m_dongListed && msgBox(kNothingInRange, PromptButtons::YesNo, PromptIcon::Question,
                                    kConfirm) == PromptAnswer::Yes;
        if (m_dongListed) msgBox(kDongListed, PromptButtons::Ok, PromptIcon::Information, kNotice);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!more) return;
    }
}

void frmMain::showSurnameScan() {
    beginScanPage(6000);
    const zendari::Variant args[] = {zendari::ZendariClient::text(selectedCode()),
                                     std::int32_t{search::kSurnameScanPage},
                                     zendari::ZendariClient::text(m_ui->txtSung->text())};
    std::vector<search::ResultRow> rows =
        search::scanRows(m_zendari.callText(zendari::kDispGetLocSung, args), m_excluded.scanResult);
    // The control walks on to the first name whose first syllable sorts after the surname: for
    // a surname of two syllables (남궁) that brings in later names of its first syllable (남민수).
    search::keepSurname(rows, m_ui->txtSung->text());
    const int total = static_cast<int>(rows.size()) + m_localCount;
    m_dongModel->appendRows(std::move(rows));
    setBlueCaption(m_ui->vsElastic11, kScanCount.arg(total));
    if (total == 0) msgBox(kNoSurnameMatch, PromptButtons::Ok, PromptIcon::Information, kNotice);
}

void frmMain::enterDongSearch(SearchMode mode) {
    setSearchMode(mode);
    showPanes(Pane::Dong);
    showSearchBox(SearchBar::DongWarning);
    // The name results are out of sight, and the dong list is empty until a page is listed.
    setResultCommands(false);
    updateDongCommands();
    setBlueCaption(m_ui->vsElastic11, kMustChooseDong);
}

void frmMain::cmdDongSeekClick() {
    enterDongSearch(SearchMode::Dong);
}

void frmMain::cmdDongSungSearchClick() {
    enterDongSearch(SearchMode::Surname);
}

void frmMain::cmdEndClick() {
    showPanes(Pane::Search);
    showSearchBox(SearchBar::BoxAndPrompt);
    setResultCommands(false);
    clearList(m_ui->lvDongResult);
    m_dongResult = false;
    if (isNameKind()) setSearchMode(SearchMode::Name);  // the candidates are on show again
}
