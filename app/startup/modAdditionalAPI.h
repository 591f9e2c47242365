// Small routines the windows share: the field splitters with their program-wide arrays,
// the trimmers, opening documents through the shell, and the list and toolbar look.
#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QToolBar;
class QWidget;

namespace modAdditionalAPI {

// A 1-based array of fields, rebuilt by each split. Reading outside 1..count() gives "".
class FieldArray {
public:
    qsizetype count() const { return m_fields.size(); }
    const QString& operator[](qsizetype i) const {
        static const QString empty;
        return i >= 1 && i <= m_fields.size() ? m_fields[i - 1] : empty;
    }
    void assign(QStringList fields) { m_fields = std::move(fields); }

private:
    QStringList m_fields;
};

// The fields of the last SplitFields and SplitBarFields call. Two arrays, so a caller can
// split at "|" and then split each part at ":" without losing the outer split.
inline FieldArray astrFields;
inline FieldArray astrBarFields;

// Splits `text` at `delimiter` (set to ":" when it comes empty) into astrFields and returns
// the count. A delimiter at the front gives an empty field; a trailing delimiter adds no
// empty field; only the last field is trimmed of blanks. "" gives 0 fields.
int SplitFields(const QString& text, QString& delimiter);
// The same into astrBarFields, with "|" for an empty delimiter.
int SplitBarFields(const QString& text, QString& delimiter);
// The splitting itself, without touching the arrays.
QStringList splitFieldList(const QString& text, const QString& delimiter);

// Drops trailing blanks and NUL characters; an all-blank text gives "".
QString TrimTrailingBlanks(const QString& text);
// Drops trailing NUL characters.
QString TrimTrailingNuls(const QString& text);

// Opens a document or address with the desktop's program (activeShell()). "" on success,
// else the message the caller shows under the title "오류 (F0002)".
QString OpenWithShell(QWidget* owner, const QString& target);

// Clicking anywhere in a row selects the whole row.
void SetFullRowSelect(QAbstractItemView* list);
// Toolbar buttons drawn flat until the pointer is over them.
void SetFlatToolbar(QToolBar* toolbar);

}  // namespace modAdditionalAPI
