// zendari: command-line host of the name-search control. Loads the control library by file
// name and drives it by DISPID, one JSON call per input line, or `zendari search` for people.
#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

#include "JsonCalls.h"
#include "Prompt.h"
#include "SearchCommand.h"
#include "ZendariClient.h"

namespace {

// Every box the control shows is answered with OK. JSON calls get it as a JSON line before
// the call's answer; the search for people prints it on standard error, apart from its table.
class HostPrompt final : public Prompt {
public:
    explicit HostPrompt(bool asJsonLine) : m_asJsonLine(asJsonLine) {}
    PromptAnswer message(const MessageRequest& r) override {
        if (m_asJsonLine) {
            std::cout << zendari::message_line(r.title.toStdString(), r.text.toStdString()) << '\n';
            std::cout.flush();
        } else {
            std::cerr << "zendari: " << r.title.toStdString() << ": " << r.text.toStdString()
                      << '\n';
        }
        return r.buttons == PromptButtons::YesNo || r.buttons == PromptButtons::YesNoCancel
                   ? PromptAnswer::Yes
                   : PromptAnswer::Ok;
    }
    std::optional<QString> input(const InputRequest&) override { return std::nullopt; }

private:
    bool m_asJsonLine;
};

void usage() {
    std::cerr << "usage: zendari [--library PATH]            JSON calls on standard input\n"
                 "       zendari [--library PATH] search --region CODE NAME [--json]\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Nobody can see a window here: the control scans without its dialog and progress window
    // (which would only print the offscreen platform's complaints on standard error).
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        qputenv("ZENDARI_WINDOWLESS", "1");
    QStringList args = QApplication::arguments().mid(1);
    QString library = zendari::ZendariClient::defaultLibraryPath();
    if (args.size() >= 2 && args[0] == QLatin1String("--library")) {
        library = args[1];
        args = args.mid(2);
    }
    if (!args.isEmpty() && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        usage();
        return 0;
    }

    const bool search = !args.isEmpty() && args[0] == QLatin1String("search");
    HostPrompt prompt(!search);
    PromptInstaller installed(prompt);
    zendari::ZendariClient client;
    if (!client.load(library, nullptr)) {
        std::cerr << "zendari: " << client.errorString().toStdString() << '\n';
        return 1;
    }

    if (!args.isEmpty()) {
        if (args[0] != QLatin1String("search")) {
            usage();
            return 2;
        }
        QTextStream out(stdout), err(stderr);
        return zendari::run_search(client, args.mid(1), out, err);
    }

    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::cout << zendari::run_json_call(*client.control(), line) << '\n';
        std::cout.flush();
    }
    return 0;
}
