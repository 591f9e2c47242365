#include "MemoMessages.h"

#include "Prompt.h"

void MemoMessage::show() const {
    if (isEmpty()) return;
    msgBox(text, PromptButtons::Ok, PromptIcon::Error, title, beep ? Beep::Yes : Beep::No);
}

namespace memo {
namespace {

const QString kCannotLoad = QStringLiteral("메모장을 불러올 수 없습니다.");
const QString kCannotClear = QStringLiteral("중복된 메모장을 지울 수 없습니다.");

}  // namespace

bool ask(const QString& text, Beep beep) {
    return msgBox(text, PromptButtons::YesNo, PromptIcon::Question, QStringLiteral("확인"), beep) ==
           PromptAnswer::Yes;
}

void tell(const QString& text, Beep beep) {
    msgBox(text, PromptButtons::Ok, PromptIcon::Information, QStringLiteral("알림"), beep);
}

MemoMessage cannotClearPad(MemoMode mode) {
    return {mode == MemoMode::Business ? QStringLiteral("오류 (E0001)")
                                       : QStringLiteral("오류 (E0005)"),
            kCannotClear};
}

MemoMessage cannotCreatePad() {
    return {QStringLiteral("오류 (E0002)"),
            QStringLiteral("메모장을 만들 수 없습니다.\r\n"
                           "이유는 하드 용량의 부족, 메모장파일의 삭제, 중복된 메모장 존재,\r\n"
                           "잘못된 메모장 이름 입력등 입니다.\r\n"
                           "이런 현상이 계속될 때는 프로그램을 종료한 뒤 위 사항을 확인하시고\r\n"
                           "프로그램을 다시 시작해 주십시오.")};
}

MemoMessage cannotOpenPad(MemoMode mode) {
    return {mode == MemoMode::Business ? QStringLiteral("오류 (E0003)")
                                       : QStringLiteral("오류 (E0004)"),
            kCannotLoad};
}

MemoMessage cannotInsertEntries() {
    return {QStringLiteral("오류 (E0004)"), QStringLiteral("메모장에 내용을 삽입할 수 없습니다.")};
}

MemoMessage cannotCreateDatabase() {
    return {QStringLiteral("오류 (E0005)"),
            QStringLiteral("하드디스크 여유 공간이 없거나 하드디스크에 오류가 있습니다.\r\n\r\n"
                           "메모장을 생성할 수 없습니다.")};
}

MemoMessage nothingToEdit() {
    return {QStringLiteral("오류 (E0006)"), QStringLiteral("편집할 내용이 없습니다."), false};
}

MemoMessage badPadName(const QString& bad) {
    return {QStringLiteral("오류 (O0001)"),
            QStringLiteral("잘못된 이름 입니다\r\n") + bad +
                QStringLiteral(" 은(는) 사용할 수 없는 문자 입니다.\r\n"
                               "\r\n"
                               "메모장 이름은 다음과 같이 지정할 수 있습니다.\r\n"
                               "\r\n"
                               "* 한글/영문/숫자의 조합으로 20자까지 가능합니다.\r\n"
                               "\r\n"
                               "* 공백, 특수 문자는 사용할 수 없습니다(오류가 날 수 있습니다).\r\n"
                               "   단, \"_\"는 사용 가능합니다."),
            false};
}

MemoMessage tooManyPads() {
    return {QStringLiteral("오류 (O0002)"),
            QStringLiteral("메모장의 주제는 100가지로 제한되 있습니다.\r\n\r\n"
                           "더 이상의 주제는 추가할 수 없습니다.\r\n"
                           "기존 메모장을 지우거나 덮어쓰기(Over Write)하시기 바랍니다."),
            false};
}

MemoMessage duplicateName() {
    return {QStringLiteral("오류 (O0003)"), QStringLiteral("중복된 이름입니다."), false};
}

MemoMessage renameCopyFailed() {
    return {QStringLiteral("오류 (O0004)"),
            QStringLiteral("메모장 이름이 중복됩니다.\r\n다른 이름으로 입력하세요.")};
}

MemoMessage renameDropFailed() {
    return {QStringLiteral("오류 (O0005)"),
            QStringLiteral("이름에 오류가 있습니다.\r\n이름 변경을 취소합니다.")};
}

}  // namespace memo
