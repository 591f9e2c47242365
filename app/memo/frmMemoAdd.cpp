#include "frmMemoAdd.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "Prompt.h"
#include "ui_frmMemoAdd.h"

namespace {

// Typing limits of the boxes, by index.
constexpr int kMaxLength[9] = {20, 4, 40, 20, 20, 100, 4, 7, 7};
constexpr int kMemoBox = 5;

}  // namespace

frmMemoAdd::frmMemoAdd(MemoMode mode, EntryAction action, const MemoEntry& entry, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmMemoAdd>()), m_mode(mode) {
    m_ui->setupUi(this);
    m_boxes = {m_ui->txtName_0, m_ui->txtName_1, m_ui->txtName_2, m_ui->txtName_3, m_ui->txtName_4,
               m_ui->txtName_5, m_ui->txtName_6, m_ui->txtName_7, m_ui->txtName_8};
    for (int i = 0; i < 9; ++i) {
        box(i)->installEventFilter(this);
        limitTyping(i);
    }
    const bool people = mode == MemoMode::People;
    const bool add = action == EntryAction::Add;
    if (people) {
        for (int i : {3, 4}) {
            box(i)->setEnabled(false);
            QPalette face = box(i)->palette();
            face.setColor(QPalette::Base, face.color(QPalette::Button));
            box(i)->setPalette(face);
        }
        m_ui->lblName->setText(QStringLiteral("이름:"));
        setWindowTitle(add ? QStringLiteral("인명 메모 추가") : QStringLiteral("인명 메모 편집"));
    } else {
        m_ui->lblName->setText(QStringLiteral("상호:"));
        setWindowTitle(add ? QStringLiteral("상호/업종 메모 추가")
                           : QStringLiteral("상호/업종 메모 편집"));
    }
    if (!add) {
        fill(0, entry.value(0));
        // "(02)123-4567": the area code before the first ")", then exchange and line number
        // either side of the first "-".
        const QString telephone = entry.value(1).mid(1);
        const qsizetype close = telephone.indexOf(QLatin1Char(')'));
        const QString rest = telephone.mid(close + 1);
        const qsizetype dash = rest.indexOf(QLatin1Char('-'));
        fill(1, close < 0 ? QString() : telephone.left(close));
        fill(6, dash < 0 ? rest : rest.left(dash));
        fill(7, dash < 0 ? QString() : rest.mid(dash + 1));
        fill(8, entry.value(2));
        fill(2, entry.value(3));
        if (people) {
            fill(kMemoBox, entry.value(4));
        } else {
            fill(3, entry.value(4));
            fill(4, entry.value(5));
            fill(kMemoBox, entry.value(6));
        }
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmMemoAdd::okCommand);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    box(0)->setFocus();
}

frmMemoAdd::~frmMemoAdd() = default;

QString frmMemoAdd::boxText(int index) const {
    if (index == kMemoBox) return m_ui->txtName_5->toPlainText();
    return static_cast<QLineEdit*>(box(index))->text();
}

void frmMemoAdd::fill(int index, const QString& text) {
    m_filling = true;
    if (index == kMemoBox) {
        m_ui->txtName_5->setPlainText(text);
    } else {
        static_cast<QLineEdit*>(box(index))->setText(text);
    }
    m_filling = false;
}

void frmMemoAdd::limitTyping(int index) {
    const auto check = [this, index] {
        const QString now = boxText(index);
        const QString before = m_before[static_cast<std::size_t>(index)];
        if (!m_filling && now.size() > kMaxLength[index] && now.size() > before.size()) {
            fill(index, before);  // the keystroke that went past the limit is dropped
            if (index == kMemoBox) m_ui->txtName_5->moveCursor(QTextCursor::End);
            return;
        }
        m_before[static_cast<std::size_t>(index)] = now;
    };
    if (index == kMemoBox) {
        connect(m_ui->txtName_5, &QPlainTextEdit::textChanged, this, check);
    } else {
        connect(static_cast<QLineEdit*>(box(index)), &QLineEdit::textChanged, this, check);
    }
}

bool frmMemoAdd::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find(m_boxes.begin(), m_boxes.end(), watched);
    if (it == m_boxes.end()) return QDialog::eventFilter(watched, event);
    const int index = static_cast<int>(it - m_boxes.begin());
    if (event->type() == QEvent::FocusIn) {
        // The whole text is selected, also when the box was clicked into.
        QTimer::singleShot(0, this, [this, index] {
            if (index == kMemoBox) {
                m_ui->txtName_5->selectAll();
            } else {
                static_cast<QLineEdit*>(box(index))->selectAll();
            }
        });
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        const bool people = m_mode == MemoMode::People;
        QWidget* next = nullptr;
        switch (index) {
            case 0:
                next = box(1);
                break;
            case 1:
                next = box(people ? 2 : 4);
                break;
            case 2:
                next = box(people ? kMemoBox : 3);
                break;
            case 3:
                next = box(kMemoBox);
                break;
            case 4:
                next = box(2);
                break;
            case kMemoBox:
                next = m_ui->cmdOK;
                break;
            default:
                break;  // boxes 6, 7 and 8 keep the focus
        }
        if (next) next->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

void frmMemoAdd::okCommand() {
    if (boxText(0).isEmpty()) {
        msgBox(QStringLiteral("상호(이름)를 입력하지 않았습니다."), PromptButtons::Ok,
               PromptIcon::Error, QStringLiteral("오류 (A0001)"));
        box(0)->setFocus();
        return;
    }
    if (boxText(1).isEmpty() || boxText(6).isEmpty() || boxText(7).isEmpty()) {
        msgBox(QStringLiteral("번호를 입력하지 않았습니다."), PromptButtons::Ok, PromptIcon::Error,
               QStringLiteral("오류 (A0002)"));
        box(1)->setFocus();
        return;
    }
    m_entry = {boxText(0),
               QStringLiteral("(") + boxText(1) + QStringLiteral(")") + boxText(6) +
                   QStringLiteral("-") + boxText(7),
               boxText(8), boxText(2)};
    if (m_mode == MemoMode::Business) m_entry << boxText(3) << boxText(4);
    m_entry << boxText(kMemoBox);
    accept();
}
