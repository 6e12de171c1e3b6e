// "Przegląd etapów" in the real main window, on the 10,000-stage pack of 80 x 80 stages (66 MB)
// and on a pack of 40 such stages, the file in the page cache:
//   - BM_FirstScreen/N: from the dialog made and shown, at its size on a 1280 x 800 screen, to
//     every picture on its first screen drawn (`pictures` of them), a new dialog each time (N
//     stages);
//   - BM_ScrollThrough: the view scrolled a page every 30 ms for 150 pages, then dragged to a
//     quarter, half, three quarters, the end and back to the top, waiting at each for its
//     pictures; longest_pause_ms is the longest the interface thread was busy at one time
//     (the largest gap between the ticks of a 2 ms timer, less 2 ms), memory_above_editor_MB the
//     resident memory after it beside the editor's with the pack open before the overview was
//     first shown.
// On a shared machine run the timings interleaved:
//   --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
#include "FileWorkflow.h"
#include "Forms.h"
#include "StageOverview.h"
#include "StageOverviewModel.h"
#include "StageOverviewView.h"
#include "aarys.h"
#include "bench_stage.h"
#include "stage_record.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

namespace {

// Made on first use, once the application object exists.
QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// The dialog's own size on a screen of 1280 x 800 or larger, whatever the platform's screen.
constexpr QSize DialogSize(960, 720);

QString packOf(int stages) {
    const QString path = folder().filePath(QStringLiteral("pack%1.map").arg(stages));
    if (QFile::exists(path))
        return path;
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    const char fills[] = {'+', 'o', '.', '*'};
    std::string record;
    for (int i = 0; i < stages; ++i) {
        record.clear();
        krelwin::appendRecord(record, "Etap " + std::to_string(i),
                              benchsupport::benchStage(fills[i % 4]));
        out << record;
    }
    return path;
}

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

// The editor as the program starts it, with the pack opened.
struct Editor {
    explicit Editor(const QString& pack) {
        createForms();
        Form1->show();
        QApplication::processEvents();
        Workflow->otworz(pack);
        QApplication::processEvents();
    }
    ~Editor() { destroyForms(); }
};

bool firstScreenDrawn(const StageOverview& overview) {
    const auto rows = overview.Obrazy->rowsOnScreen();
    if (!rows)
        return false;
    for (int row = rows->first; row <= rows->second; ++row)
        if (!overview.model()->hasPicture(row))
            return false;
    return true;
}

void waitForScreen(const StageOverview& overview) {
    while (!firstScreenDrawn(overview))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_FirstScreen(benchmark::State& state) {
    Editor editor(packOf(int(state.range(0))));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto overview = std::make_unique<StageOverview>(*Workflow, Form1);
        overview->resize(DialogSize);
        overview->show();
        waitForScreen(*overview);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        const auto rows = overview->Obrazy->rowsOnScreen();
        state.counters["pictures"] = rows->second - rows->first + 1;
        state.PauseTiming();
        overview.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstScreen)->Arg(10000)->Arg(40)->UseManualTime()->Unit(benchmark::kMillisecond);

// The longest gap between the ticks of a fast timer while `work` runs in the event loop.
class PauseMeter {
public:
    PauseMeter() {
        ticks_.setTimerType(Qt::PreciseTimer);
        ticks_.setInterval(TickMs);
        QObject::connect(&ticks_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart() - TickMs); });
        clock_.start();
        ticks_.start();
    }
    qint64 longest() const { return longest_; }

private:
    static constexpr int TickMs = 2;
    QTimer ticks_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void BM_ScrollThrough(benchmark::State& state) {
    Editor editor(packOf(10000));
    const long before = residentKilobytes();
    for (auto _ : state) {
        StageOverview overview(*Workflow, Form1);
        overview.resize(DialogSize);
        overview.show();
        waitForScreen(overview);
        QScrollBar* bar = overview.Obrazy->verticalScrollBar();
        PauseMeter pauses;
        for (int page = 0; page < 150; ++page) {
            bar->setValue(bar->value() + bar->pageStep());
            runFor(30);
        }
        for (const int quarter : {1, 2, 3, 4, 0}) {
            bar->setValue(bar->maximum() * quarter / 4);
            runFor(5);
            waitForScreen(overview);
        }
        state.counters["longest_pause_ms"] = double(pauses.longest());
        state.counters["memory_above_editor_MB"] = double(residentKilobytes() - before) / 1024;
    }
}
BENCHMARK(BM_ScrollThrough)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
