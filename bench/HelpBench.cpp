// The help window opening a help document of about 3 MB, in four shapes:
// many ordinary paragraphs, one paragraph of words, one word of letters and
// one paragraph whose format changes at every word (VARNOLIX_HELP_KB sets
// another size). Reported per shape, the worst of three openings:
//   first_paint_ms  from the request until the view has painted its first page
//   longest_pause_ms  the longest the program is busy without answering the
//                     user (an exit click waits that long), until the whole
//                     text is laid out
//   laid_out_ms     until the whole text is laid out
#include "Form1a.h"
#include "ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <chrono>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

enum class Shape { Paragraphs, OneParagraph, OneWord, FormatEveryWord };

QByteArray document(Shape shape)
{
    const qsizetype kilobytes = qEnvironmentVariableIntValue("VARNOLIX_HELP_KB");
    const qsizetype size = 1024 * (kilobytes > 0 ? kilobytes : 3072);
    QByteArray rtf = R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}\f0\fs20 )";
    const QByteArray text = "Lorem ipsum dolor sit amet, {\\i consectetur} adipiscing elit, sed do eiusmod tempor. ";
    for (int n = 0; rtf.size() < size; ++n) {
        switch (shape) {
        case Shape::Paragraphs:
            rtf += "{\\b\\fs28 Heading " + QByteArray::number(n) + "}\\par " + text + text + "\\par ";
            break;
        case Shape::OneParagraph: rtf += text; break;
        case Shape::OneWord: rtf += QByteArray(std::min<qsizetype>(4096, size - rtf.size()), 'A'); break;
        case Shape::FormatEveryWord: rtf += "\\b lorem \\b0 ipsum "; break;
        }
    }
    return rtf + "\\par}";
}

// Notes the first paint of the view.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The processor time of this thread: waiting for the next step of the
// layout, the program is free to answer the user.
double busyMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

bool allLaidOut(const QTextDocument& document)
{
    const QTextLayout* last = document.lastBlock().layout();
    return last && last->lineCount() > 0;
}

void OpenHelpDocument(benchmark::State& state, Shape shape)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data/text"));
    QFile file(dir.path() + QStringLiteral("/data/text/varnohelp.rtf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(document(shape)) < 0) {
        state.SkipWithError("could not write the document");
        return;
    }
    file.close();
    const ProgramFolder folder(dir.path());
    double firstPaint = 0, longest = 0, laidOut = 0;
    for (auto _ : state) {
        Form1a window(folder);
        PaintWatch watch;
        window.RichTextBox->viewport()->installEventFilter(&watch);
        const Clock::time_point start = Clock::now();
        const double busyAtStart = busyMilliseconds();
        window.Form_Load();
        double pause = busyMilliseconds() - busyAtStart;
        double painted = 0;
        // The view lays out the rest in steps, on a timer.
        while (painted == 0 || !allLaidOut(*window.RichTextBox->document())) {
            const double busy = busyMilliseconds();
            QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
            pause = std::max(pause, busyMilliseconds() - busy);
            if (watch.painted && painted == 0)
                painted = milliseconds(Clock::now() - start);
        }
        const double all = milliseconds(Clock::now() - start);
        state.SetIterationTime(painted / 1000.0);
        firstPaint = std::max(firstPaint, painted);
        longest = std::max(longest, pause);
        laidOut = std::max(laidOut, all);
    }
    state.counters["first_paint_ms"] = firstPaint;
    state.counters["longest_pause_ms"] = longest;
    state.counters["laid_out_ms"] = laidOut;
    state.counters["document_MB"] = static_cast<double>(file.size()) / (1024.0 * 1024.0);
}

BENCHMARK_CAPTURE(OpenHelpDocument, paragraphs, Shape::Paragraphs)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(OpenHelpDocument, one_paragraph, Shape::OneParagraph)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(OpenHelpDocument, one_word, Shape::OneWord)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(OpenHelpDocument, format_every_word, Shape::FormatEveryWord)
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
