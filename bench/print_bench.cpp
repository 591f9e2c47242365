// Benchmark of table printing with 3,001 selected rows (the print limit keeps 3,000): the
// composition, the page layout, the first page, the print window opening (composition and
// the whole preview) and a PDF of every page. The window must open without freezing: the
// composition and the first page under one second. Run through `make bench`, never from tests.
#include <QApplication>
#include <QPainter>
#include <QPicture>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "Prompt.h"
#include "TableRenderer.h"
#include "frmPrint.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers the print limit's notice without a window.
class SilentPrompt final : public Prompt {
public:
    PromptAnswer message(const MessageRequest&) override { return PromptAnswer::Ok; }
    std::optional<QString> input(const InputRequest&) override { return std::nullopt; }
};

// The median of `runs` timings of `f`, in milliseconds.
double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Rows shaped like the business memo list, the widest source: seven columns, addresses of
// realistic length.
std::vector<print::PrintRow> rows(int count) {
    std::vector<print::PrintRow> out;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        out.push_back(
            {{QStringLiteral("텔비아상사 ") + n, QStringLiteral("(031)712-%1").arg(i % 10000),
              QStringLiteral("463-%1").arg(i % 1000),
              QStringLiteral("경기 성남시 분당구 정자동 ") + n +
                  QStringLiteral("번지 텔비아빌딩 3층"),
              QStringLiteral("도소매"), QStringLiteral("영업부"), QStringLiteral("메모 ") + n},
             true});
    }
    return out;
}

void setUpPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(25, 25, 25, 72), QPageLayout::Point);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentPrompt prompt;
    PromptInstaller installed(prompt);
    constexpr int kRuns = 5;
    const std::vector<print::PrintRow> list = rows(print::kPrintLimit + 1);

    for (const char* source : {"결과창:인명", "메모창:상호"}) {
        std::printf("== %s, %d selected rows (%d composed), landscape A4 ==\n", source,
                    print::kPrintLimit + 1, print::kPrintLimit);
        const print::ComposeInput input{
            QString::fromUtf8(source), QStringLiteral("전국판 Telvia 리스트"),
            print::Orientation::Landscape, print::defaultBodyFont(), QDateTime::currentDateTime()};
        print::TableDocument doc;
        const double compose = medianMs(kRuns, [&] { doc = print::composeTable(input, list); });

        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("first.pdf")));
        setUpPrinter(printer);
        const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
        int pages = 0;
        const double layout =
            medianMs(kRuns, [&] { pages = print::TablePages(doc, printer, page).pageCount(); });
        // The first page as the preview draws it: into a recorded picture of the printer.
        const double firstPage = medianMs(kRuns, [&] {
            const print::TablePages laidOut(doc, printer, page);
            QPicture picture;
            QPainter painter(&picture);
            laidOut.paint(painter, 0);
        });
        const double firstTotal = medianMs(kRuns, [&] {
            const print::TableDocument fresh = print::composeTable(input, list);
            const print::TablePages laidOut(fresh, printer, page);
            QPicture picture;
            QPainter painter(&picture);
            laidOut.paint(painter, 0);
        });
        const double window = medianMs(
            kRuns, [&] { frmPrint w(QString::fromUtf8(source), [&list] { return list; }); });
        const double pdf = medianMs(kRuns, [&] {
            QPrinter file(QPrinter::HighResolution);
            file.setOutputFormat(QPrinter::PdfFormat);
            file.setOutputFileName(dir.filePath(QStringLiteral("all.pdf")));
            setUpPrinter(file);
            print::renderDocument(doc, file);
        });
        std::printf("compose (rows to document)            %8.1f ms\n", compose);
        std::printf("lay out %3d pages                     %8.1f ms\n", pages, layout);
        std::printf("lay out and paint the first page      %8.1f ms\n", firstPage);
        std::printf("compose + first page                  %8.1f ms   (target < 1000 ms)\n",
                    firstTotal);
        std::printf("frmPrint opened (whole preview)       %8.1f ms\n", window);
        std::printf("PDF of all %3d pages                  %8.1f ms\n\n", pages, pdf);
    }
    return 0;
}
