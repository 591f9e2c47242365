#include "modAdditionalAPI.h"

#include <QAbstractItemView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "Shell.h"

namespace modAdditionalAPI {
namespace {

// Texts for the shell's failure codes.
const QString kBrowserNotFound = QStringLiteral("웹브라우저를 찾을 수 없습니다.");
const QString kPathNotFound = QStringLiteral("파일 패스를 찾을 수 없습니다.");
const QString kBadFormat = QStringLiteral("입력 형식이 다릅니다.");
const QString kUnknownError = QStringLiteral("알 수 없는 에러입니다.");

QString trimSpaces(QString s) {
    qsizetype b = 0;
    while (b < s.size() && s[b] == QLatin1Char(' ')) ++b;
    qsizetype e = s.size();
    while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

}  // namespace

QStringList splitFieldList(const QString& text, const QString& delimiter) {
    QStringList fields;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype p = rest.indexOf(delimiter);
        if (p == 0) {
            fields.append(QString());
            rest.remove(0, 1);
        } else if (p > 0) {
            fields.append(rest.left(p));
            rest = rest.mid(p + delimiter.size());
        } else {
            fields.append(trimSpaces(rest));
            rest.clear();
        }
    }
    return fields;
}

int SplitFields(const QString& text, QString& delimiter) {
    if (delimiter.isEmpty()) delimiter = QStringLiteral(":");
    astrFields.assign(splitFieldList(text, delimiter));
    return static_cast<int>(astrFields.count());
}

int SplitBarFields(const QString& text, QString& delimiter) {
    if (delimiter.isEmpty()) delimiter = QStringLiteral("|");
    astrBarFields.assign(splitFieldList(text, delimiter));
    return static_cast<int>(astrBarFields.count());
}

QString TrimTrailingBlanks(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && (text[n - 1] == QLatin1Char(' ') || text[n - 1] == QChar(0))) --n;
    return text.left(n);
}

QString TrimTrailingNuls(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QChar(0)) --n;
    return text.left(n);
}

QString OpenWithShell(QWidget* owner, const QString& target) {
    switch (activeShell().open(owner, target)) {
        case ShellResult::kFileNotFound:
            return kBrowserNotFound;
        case ShellResult::kPathNotFound:
            return kPathNotFound;
        case ShellResult::kBadFormat:
            return kBadFormat;
        case ShellResult::kNoAssociation:
            return kUnknownError;
        default:
            return QString();
    }
}

void SetFullRowSelect(QAbstractItemView* list) {
    if (!list) return;
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (auto* tree = qobject_cast<QTreeView*>(list)) tree->setAllColumnsShowFocus(true);
}

void SetFlatToolbar(QToolBar* toolbar) {
    if (!toolbar) return;
    for (QToolButton* button : toolbar->findChildren<QToolButton*>()) button->setAutoRaise(true);
    toolbar->update();
}

}  // namespace modAdditionalAPI
