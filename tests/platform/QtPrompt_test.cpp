// The real boxes of the prompt seam, shown modally on the offscreen platform and answered by
// clicking their buttons: which buttons each kind of box offers, their Korean captions, the
// title, text and icon, and the answer each click gives.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "Prompt.h"
#include "QtPrinters.h"

namespace {

// Runs `inspect` on the modal box once it is up (the box's own event loop runs it).
void whenBoxShows(std::function<void(QWidget*)> inspect) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect = std::move(inspect)] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        inspect(box);
    });
    timer->start();
}

QStringList captionsOf(QWidget* box) {
    QStringList captions;
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && !b->text().isEmpty()) captions << b->text();
    }
    captions.sort();
    return captions;
}

QAbstractButton* buttonCaptioned(QWidget* box, const QString& caption) {
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && b->text() == caption) return b;
    }
    return nullptr;
}

struct BoxCase {
    PromptButtons buttons;
    QStringList captions;  // sorted
    QString click;
    PromptAnswer answer;
};

TEST(QtPromptTest, EachBoxOffersItsButtonsInKoreanAndAnswersTheOneClicked) {
    const BoxCase cases[] = {
        {PromptButtons::Ok, {"확인"}, "확인", PromptAnswer::Ok},
        {PromptButtons::OkCancel, {"취소", "확인"}, "취소", PromptAnswer::Cancel},
        {PromptButtons::YesNo, {"아니요", "예"}, "예", PromptAnswer::Yes},
        {PromptButtons::YesNo, {"아니요", "예"}, "아니요", PromptAnswer::No},
        {PromptButtons::RetryCancel, {"재시도", "취소"}, "재시도", PromptAnswer::Retry},
        {PromptButtons::RetryCancel, {"재시도", "취소"}, "취소", PromptAnswer::Cancel},
        {PromptButtons::YesNoCancel, {"아니요", "예", "취소"}, "취소", PromptAnswer::Cancel},
    };
    QtPrompt prompt;
    for (const BoxCase& c : cases) {
        QStringList shown;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenBoxShows([&](QWidget* box) {
            shown = captionsOf(box);
            title = box->windowTitle();
            if (auto* mb = qobject_cast<QMessageBox*>(box)) {
                text = mb->text();
                icon = mb->icon();
            }
            if (QAbstractButton* b = buttonCaptioned(box, c.click)) {
                QTest::mouseClick(b, Qt::LeftButton);
            } else {
                box->close();
            }
        });
        const PromptAnswer answer =
            prompt.message({QStringLiteral("오류 (L0001)"), QStringLiteral("첫 줄\r\n\r\n둘째 줄"),
                            PromptIcon::Error, c.buttons});
        EXPECT_EQ(shown, c.captions) << c.click.toStdString();
        EXPECT_EQ(answer, c.answer) << c.click.toStdString();
        EXPECT_EQ(title, QStringLiteral("오류 (L0001)"));
        EXPECT_EQ(text, QStringLiteral("첫 줄\n\n둘째 줄")) << "CR LF pairs become line feeds";
        EXPECT_EQ(icon, QMessageBox::Critical);
    }
}

TEST(QtPromptTest, EscapeGivesTheSafeAnswer) {
    QtPrompt prompt;
    const std::pair<PromptButtons, PromptAnswer> cases[] = {
        {PromptButtons::YesNo, PromptAnswer::No},
        {PromptButtons::RetryCancel, PromptAnswer::Cancel},
        {PromptButtons::Ok, PromptAnswer::Ok}};
    for (const auto& [buttons, safe] : cases) {
        whenBoxShows([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(prompt.message(
                      {QStringLiteral("확인"), QStringLiteral("?"), PromptIcon::Question, buttons}),
                  safe);
    }
}

TEST(QtPromptTest, InputBoxHasKoreanButtonsAndReturnsTheTypedText) {
    QtPrompt prompt;
    QStringList shown;
    QString label;
    whenBoxShows([&](QWidget* box) {
        shown = captionsOf(box);
        if (auto* dialog = qobject_cast<QInputDialog*>(box)) label = dialog->labelText();
        auto* edit = box->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QStringLiteral("기본"));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("0212345678"));
        QTest::mouseClick(buttonCaptioned(box, QStringLiteral("확인")), Qt::LeftButton);
    });
    EXPECT_EQ(
        prompt.input({QStringLiteral("Callora"), QStringLiteral("번호"), QStringLiteral("기본")}),
        QStringLiteral("0212345678"));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("취소"), QStringLiteral("확인")}));
    EXPECT_EQ(label, QStringLiteral("번호"));

    whenBoxShows([](QWidget* box) {
        QTest::mouseClick(buttonCaptioned(box, QStringLiteral("취소")), Qt::LeftButton);
    });
    EXPECT_EQ(prompt.input({QStringLiteral("Callora"), QStringLiteral("번호"), QString()}),
              std::nullopt);
}

}  // namespace
