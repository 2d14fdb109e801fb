// pukapuka-bench: how long the program takes, and how much memory it holds, on logs of
// years. Generates logs of 1,000, 32,766 and 100,000 records and writes BENCHMARKS.md.
//
//   pukapuka-bench [--out FILE] [--quick]
//
// --quick runs a few repetitions on the two smaller logs only (a smoke run); --core-only
// and --sizes 1000,8000 narrow a run down while profiling; --only NAME runs only the core
// views and window actions whose name holds NAME, once to warm up and then three times
// (--repeat N times), without timing them (for a profiler; under callgrind with
// --collect-atstart=no only those runs are counted). --write-data-set DIR N only writes the
// data set of N records into DIR.

#include "bench/LogGenerator.h"
#include "core/base/Allocator.h"
#include "core/base/Clock.h"
#include "core/edits/ImportPlan.h"
#include "core/files/Cp932.h"
#include "core/files/CsvExport.h"
#include "core/files/CsvImport.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderReadings.h"
#include "core/files/TextLines.h"
#include "core/views/AnalysisSnapshot.h"
#include "core/views/AnalysisView.h"
#include "core/views/CalendarView.h"
#include "core/views/DailyView.h"
#include "core/views/DiaryView.h"
#include "core/views/GraphView.h"
#include "core/views/MainView.h"
#include "core/views/RangeView.h"
#include "core/views/TrendView.h"
#include "ui/MainWindow.h"
#include "ui/RecordEditor.h"
#include "ui/controls/GridView.h"
#include "ui/controls/MonthCalendar.h"
#include "ui/controls/RecordListMenu.h"
#include "ui/controls/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define PUKAPUKA_HAVE_CALLGRIND 1
#endif

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace puka;

namespace {

const QDate kToday(2026, 12, 7);
const QDateTime kNow(kToday, QTime(21, 5, 3));
const int kMemorySize = 32766;

// The toolbar buttons that open a panel, with the names the table gives them.
const std::vector<std::pair<QString, QString>> kPanels = {
    {QStringLiteral("cmdRentai"), QStringLiteral("全グラフ (graph)")},
    {QStringLiteral("cmdAvgtai"), QStringLiteral("日平均 (daily averages)")},
    {QStringLiteral("cmdTaijyu"), QStringLiteral("範囲指定 (range)")},
    {QStringLiteral("cmdBunseki"), QStringLiteral("分析リスト (analysis)")},
    {QStringLiteral("cmdCale"), QStringLiteral("カレンダー (calendar)")},
    {QStringLiteral("cmdMemo"), QStringLiteral("一言日記 (diary)")},
    {QStringLiteral("cmdSettei"), QStringLiteral("編集 (edit)")},
    {QStringLiteral("cmdMain"), QStringLiteral("メイン (main, back from another panel)")},
};

struct Options {
    bool quick = false;
    bool coreOnly = false; ///< the core views only: for profiling
    QString only;          ///< when set, the core views whose name holds it, each run once
    std::vector<int> sizes;
    QString out;
};

/// One figure of the table: a median over repeated runs, in milliseconds or kilobytes.
struct Row {
    QString group;
    QString name;
    std::map<int, double> value; ///< by log size
    bool memory = false;
};

class Table {
public:
    Row& row(const QString& group, const QString& name, bool memory = false) {
        for (Row& r : m_rows)
            if (r.group == group && r.name == name)
                return r;
        m_rows.push_back(Row{group, name, {}, memory});
        return m_rows.back();
    }
    std::vector<Row>& rows() { return m_rows; }

private:
    std::vector<Row> m_rows;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

/// Runs @p f once to warm up, then at least 5 and at most @p maxRuns times (fewer for slow
/// work, about @p budgetMs in all), and gives the median in milliseconds.
double timed(const std::function<void()>& f, int maxRuns, const std::function<void()>& between = {},
             double budgetMs = 4000) {
    if (between)
        between();
    f();
    std::vector<double> ms;
    double spent = 0;
    while (static_cast<int>(ms.size()) < maxRuns && (ms.size() < 5 || spent < budgetMs)) {
        if (between)
            between();
        QElapsedTimer t;
        t.start();
        f();
        const double d = t.nsecsElapsed() / 1e6;
        ms.push_back(d);
        spent += d;
    }
    return median(ms);
}

void settle() {
    QCoreApplication::processEvents();
}

/// A main window over a data folder, with scripted dialogs that fail the bench on a surprise.
class Session {
public:
    explicit Session(const QString& dir) {
        m_dialogs.setFailureHandler([](const QString& why) { qFatal("unexpected dialog: %s", qUtf8Printable(why)); });
        m_window = std::make_unique<ui::MainWindow>(dir, &m_dialogs);
        m_window->startup();
        settle();
    }
    ui::MainWindow& w() { return *m_window; }
    ui::ScriptedDialogs& dialogs() { return m_dialogs; }
    template <class T> T* find(const QString& name) {
        T* widget = m_window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qUtf8Printable(name));
        return widget;
    }
    void click(const QString& name) {
        find<QAbstractButton>(name)->click();
        settle();
    }
    void showDay(const QDate& day) {
        auto* calendar = find<ui::MonthCalendar>(QStringLiteral("mtvmain"));
        calendar->setSelectedDate(day);
        Q_EMIT calendar->dateClicked(day);
        settle();
    }
    void clickItem(const QString& list, const QString& word) {
        auto* w = find<QListWidget>(list);
        const auto items = w->findItems(word, Qt::MatchExactly);
        if (items.isEmpty())
            qFatal("no %s in %s", qUtf8Printable(word), qUtf8Printable(list));
        w->setCurrentItem(items.first());
        w->scrollToItem(items.first());
        QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualItemRect(items.first()).center());
        settle();
    }
    /// The boxes shown since the last call; any box when none was expected stops the bench.
    void expectCalls(int n, const char* what) {
        const auto calls = m_dialogs.takeCalls();
        if (calls.size() != n)
            qFatal("%s: %d boxes instead of %d (%s)", what, int(calls.size()), n,
                   calls.isEmpty() ? "" : qUtf8Printable(calls.first().prompt));
    }

private:
    ui::ScriptedDialogs m_dialogs;
    std::unique_ptr<ui::MainWindow> m_window;
};

QString statusValue(const QString& key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key.toLatin1() + ':'))
            return QString::fromLatin1(line.mid(key.size() + 1)).trimmed();
    return QString();
}

/// The child mode: start the program on @p dir, open the panels named, print VmHWM in kB.
int memoryChild(const QString& dir, const QStringList& buttons) {
    Session s(dir);
    for (const QString& b : buttons)
        s.click(b);
    std::printf("%s\n", qPrintable(statusValue(QStringLiteral("VmHWM")).section(QLatin1Char(' '), 0, 0)));
    return 0;
}

double peakKb(const QString& dir, const QStringList& buttons) {
    QProcess child;
    QStringList args = {QStringLiteral("--memory"), dir};
    args += buttons;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(300000) || child.exitCode() != 0)
        qFatal("memory child failed: %s", child.readAllStandardError().constData());
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble();
}

/// A log that only a careful reader survives, and what reading it cost.
struct MalformedLog {
    QString name;
    std::unique_ptr<QTemporaryDir> dir;
    double bytes = 0;
    double addedKb = 0; ///< the peak resident memory of the read less what the process held before
};

/// The child mode: readLog of the log in @p dir and the daily averages of what it read (the
/// panel that once spanned every day between two outlandish dates); prints the resident memory
/// before and the peak after, in kB. No window and no Qt application: only the reader counts.
int readMemoryChild(const QString& dir) {
    const QString before = statusValue(QStringLiteral("VmRSS")).section(QLatin1Char(' '), 0, 0);
    {
        const LogContents log = datalog::readLog(dir);
        const auto averages = daily::buildDailyView(log.records);
        if (log.records.size() + static_cast<size_t>(log.skippedCount) == 0 && averages.grid.bodyRows() > 0)
            return 1;
    }
    std::printf("%s %s\n", qPrintable(before),
                qPrintable(statusValue(QStringLiteral("VmHWM")).section(QLatin1Char(' '), 0, 0)));
    return 0;
}

/// Writes @p lines times the line @p line, ended by CR LF, as the log of a new folder.
MalformedLog malformedLog(const QString& name, const QByteArray& line, qint64 lines) {
    MalformedLog m{name, std::make_unique<QTemporaryDir>()};
    QFile f(QDir(m.dir->path()).filePath(files::kData));
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qUtf8Printable(f.fileName()));
    // a block of up to 4096 lines at a time; a long line is written alone
    const qint64 perBlock = std::min<qint64>(lines, 4096);
    QByteArray block;
    for (qint64 i = 0; i < perBlock; ++i)
        block += line + "\r\n";
    for (qint64 done = 0; done < lines; done += perBlock)
        f.write(done + perBlock <= lines ? block : block.left((lines - done) * (line.size() + 2)));
    return m;
}

void measureRead(MalformedLog* m) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-memory"), m->dir->path()});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        qFatal("read memory child failed: %s", child.readAllStandardError().constData());
    const QStringList kb = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    m->addedKb = kb.value(1).toDouble() - kb.value(0).toDouble();
    m->bytes = static_cast<double>(QFileInfo(QDir(m->dir->path()).filePath(files::kData)).size());
}

/// Runs @p f, counted by callgrind when the bench runs under it with --collect-atstart=no
/// (scripts/bench-instructions.sh): only the work of @p f is counted.
void counted(const std::function<void()>& f) {
#ifdef PUKAPUKA_HAVE_CALLGRIND
    CALLGRIND_TOGGLE_COLLECT;
    f();
    CALLGRIND_TOGGLE_COLLECT;
#else
    f();
#endif
}

QString loadAtStart; ///< the 1, 5 and 15 minute load averages when the bench started
QString onlyPattern; ///< --only: the views and actions whose name holds this text, run untimed
int repeatCount = 3; ///< --repeat: how often --only runs each of them

/// One core measurement on one log: a view as its panel computes it, from reading the log on.
struct CoreJob {
    QString name;
    int size = 0;
    std::function<void()> run;
    std::vector<double> ms;
};

/// The core measurements of one log, in the order of the table.
void addCoreJobs(std::vector<CoreJob>* jobs, int size, const QString& dir, const bench::GeneratedLog& g) {
    const QString path = resolveFile(dir, files::kData);
    const float height = 171.5f;
    const auto add = [&](const QString& name, std::function<void()> run) {
        if (onlyPattern.isEmpty() || name.contains(onlyPattern))
            jobs->push_back(CoreJob{name, size, std::move(run), {}});
    };
    add(QStringLiteral("floor: read データ.txt, decode CP932 into lines"), [path, size] {
        const auto file = readFileBytes(path);
        const DecodedLines lines = decodeLines(file->bytes);
        if (lines.lines.size() != size)
            qFatal("floor read %d lines", int(lines.lines.size()));
    });
    add(QStringLiteral("READ_DATA (the records every view starts from)"), [dir] { datalog::readLog(dir); });
    // each view from a reading of its own, shared with its lists as the window shares it
    const auto view = [&](const QString& name, std::function<void(const LogContents&)> f) {
        add(name, [dir, f] {
            const auto log = std::make_shared<const LogContents>(datalog::readLog(dir));
            f(*log);
        });
    };
    const auto sharedView = [&](const QString& name, std::function<void(const SharedRecords&)> f) {
        add(name, [dir, f] {
            const auto log = std::make_shared<const LogContents>(datalog::readLog(dir));
            f(SharedRecords(log, &log->records));
        });
    };
    const QDate busiest = g.busiestDay;
    view(QStringLiteral("MainView: DSP_MAIN of the busiest day"),
         [=](const LogContents& log) { mainview::buildMainView(log.records, busiest, height); });
    sharedView(QStringLiteral("RangeView: opening (DSP_TAIJYU)"),
               [=](const SharedRecords& records) { range::buildOpening(records, height); });
    range::Conditions keyword;
    keyword.keyword = QStringLiteral("起床後");
    keyword.startText = g.first.toString(QStringLiteral("yyyy/MM/dd"));
    keyword.endText = g.last.toString(QStringLiteral("yyyy/MM/dd"));
    sharedView(QStringLiteral("RangeView: keyword rebuild (起床後)"),
               [=](const SharedRecords& records) { range::refresh(records, height, keyword); });
    view(QStringLiteral("AnalysisView: the four lists"), [](const LogContents& log) {
        const AnalysisSnapshot snap = AnalysisSnapshot::load(log.records);
        AnalysisView v = analysis::emptyAnalysisView();
        analysis::fill(snap, analysis::DifferenceMode::Previous, analysis::BandStep::Half, &v);
    });
    view(QStringLiteral("GraphView: DSP_RENTAI, 10-record moving average"), [](const LogContents& log) {
        graph::buildGraph(AnalysisSnapshot::load(log.records), 68.0f, QStringLiteral("10"), false);
    });
    view(QStringLiteral("DailyAverages: whole log (DSP_HIHEIKIN)"),
         [](const LogContents& log) { daily::buildDailyView(log.records); });
    const QString from = g.middleDay.addDays(-365).toString(QStringLiteral("yy/MM/dd"));
    const QString to = g.middleDay.toString(QStringLiteral("yy/MM/dd"));
    const auto whole = std::make_shared<daily::DailyView>(daily::buildDailyView(datalog::readLog(dir).records));
    view(QStringLiteral("DailyAverages: one year (DSP_HIHEIKIN_KIKAN)"), [=](const LogContents& log) {
        daily::DailyView v = *whole;
        daily::fillPeriod(log.records, from, to, &v);
    });
    view(QStringLiteral("CalendarView: DSP_CALE"),
         [](const LogContents& log) { calendar::buildCalendar(log.records, calendar::Mode::Detailed, kToday); });
    sharedView(QStringLiteral("DiaryView: DSP_MEMO"),
               [](const SharedRecords& records) { diary::buildDiaryList(records); });
    view(QStringLiteral("TrendView: trend and forecast of the whole log"),
         [](const LogContents& log) { trend::compute(log.records, {}, 68.0f); });
    view(QStringLiteral("CsvExport: every record as CSV (UTF-8)"),
         [](const LogContents& log) { csvexport::write(log.records, csvexport::Encoding::Utf8); });
    // the import of the log's own export: every row read, and every row a duplicate
    const auto exported =
        std::make_shared<QByteArray>(csvexport::write(datalog::readLog(dir).records, csvexport::Encoding::Utf8).bytes);
    add(QStringLiteral("CsvImport: read the log's CSV export"), [exported, size] {
        if (csvimport::read(*exported).rows.size() != size_t(size))
            qFatal("import read too few rows");
    });
    const auto rows = std::make_shared<std::vector<csvimport::Row>>(csvimport::read(*exported).rows);
    add(QStringLiteral("ImportPlan: merge that export into the log (all duplicates)"), [path, rows] {
        const auto file = readFileBytes(path);
        if (planImport(file->bytes, *rows, false).added != 0)
            qFatal("import plan added rows");
    });
}

/// Runs the core measurements of each log in rounds, each measurement once per round, so
/// that a figure and the floor it is compared with are taken side by side under the same
/// conditions of the machine. One warm-up round first; then at least 7 and at most
/// @p maxRounds rounds, as many as fit in about half a minute per log.
void benchCore(Table& table, std::vector<CoreJob>& jobs, int maxRounds) {
    if (!onlyPattern.isEmpty()) {
        for (CoreJob& job : jobs) {
            job.run(); // a warm-up, as in the timed runs
            for (int i = 0; i < repeatCount; ++i)
                counted(job.run);
        }
        return;
    }
    for (size_t first = 0; first < jobs.size();) {
        size_t end = first;
        while (end < jobs.size() && jobs[end].size == jobs[first].size)
            ++end;
        for (size_t j = first; j < end; ++j)
            jobs[j].run();
        QElapsedTimer all;
        all.start();
        for (int round = 0; round < maxRounds && (round < 7 || all.elapsed() < 30000); ++round)
            for (size_t j = first; j < end; ++j) {
                QElapsedTimer t;
                t.start();
                jobs[j].run();
                jobs[j].ms.push_back(t.nsecsElapsed() / 1e6);
            }
        for (size_t j = first; j < end; ++j)
            table.row(QStringLiteral("Core"), jobs[j].name).value[jobs[j].size] = median(jobs[j].ms);
        first = end;
    }
}

void benchUi(Table& table, int size, const QString& dir, const bench::GeneratedLog& g, int maxRuns) {
    const QString group = QStringLiteral("Window");
    // With --only, the actions whose name holds it run --repeat times each, untimed.
    const auto timed = [&](const std::function<void()>& f, int runs, const QString& name,
                           const std::function<void()>& between = {}) {
        if (onlyPattern.isEmpty())
            return ::timed(f, runs, between);
        if (name.contains(onlyPattern))
            for (int i = 0; i <= repeatCount; ++i) { // a warm-up first, as in the timed runs
                if (between)
                    between();
                if (i == 0)
                    f();
                else
                    counted(f);
            }
        return 0.0;
    };
    table.row(group, QStringLiteral("start-up to the main window shown")).value[size] =
        timed([&] { Session s(dir); }, std::min(maxRuns, 15), QStringLiteral("start-up"));

    Session s(dir);
    for (const auto& [button, name] : kPanels) {
        // the previous panel is the main one, so every click opens its panel afresh; the log
        // is unchanged since the last opening (the lambdas capture copies: C++17 does not let
        // them capture a structured binding)
        const QString other =
            button == QLatin1String("cmdMain") ? QStringLiteral("cmdMemo") : QStringLiteral("cmdMain");
        table.row(group, QStringLiteral("open ") + name).value[size] =
            timed([&s, panel = button] { s.click(panel); }, std::min(maxRuns, 15), QStringLiteral("open ") + name,
                  [&s, other] { s.click(other); });
    }
    for (const auto& [button, name] : kPanels) {
        // the log read again first, as after any change the window has not yet taken in
        const QString other =
            button == QLatin1String("cmdMain") ? QStringLiteral("cmdMemo") : QStringLiteral("cmdMain");
        if (button == QLatin1String("cmdMain") || button == QLatin1String("cmdSettei"))
            continue; // these panels show no list of the log
        table.row(group, QStringLiteral("open ") + name + QStringLiteral(", the log read again")).value[size] =
            timed([&s, panel = button] { s.click(panel); }, std::min(maxRuns, 15), QStringLiteral("reread ") + name,
                  [&s, other] {
                      s.click(other);
                      s.w().readings().noteWritten(files::kData);
                  });
    }
    // another program appends a record while the range list is on screen: the time until the
    // window has taken it in and rebuilt the list, the watcher's wait for the burst included
    s.click(QStringLiteral("cmdTaijyu"));
    int appended = 0;
    table.row(group, QStringLiteral("watched refresh: another program's append reaches the range list")).value[size] =
        timed(
            [&] {
                QFile log(resolveFile(dir, files::kData));
                if (!log.open(QIODevice::Append) ||
                    log.write(*cp932::encode(QStringLiteral("\"%1\",\"起床後\",65.%2,\"\",22,\"\"\r\n")
                                                 .arg(g.last.toString(QStringLiteral("yyyy/MM/dd")))
                                                 .arg(++appended % 10))) < 0)
                    qFatal("cannot append to the log");
                log.close();
                QSignalSpy taken(&s.w(), &ui::MainWindow::outsideChangesTaken);
                if (!taken.wait(5000))
                    qFatal("the window did not take the append in");
            },
            std::min(maxRuns, 9), QStringLiteral("watched refresh"));
    s.click(QStringLiteral("cmdMain"));
    s.click(QStringLiteral("cmdMain"));
    bool flip = false;
    table.row(group, QStringLiteral("calendar day click on the main panel")).value[size] = timed(
        [&] {
            flip = !flip;
            s.showDay(flip ? g.busiestDay : g.middleDay);
        },
        maxRuns, QStringLiteral("calendar day click"));

    auto save = [&](const QDate& day, const QString& name) {
        return timed([&] { s.click(QStringLiteral("cmdTaiHozon")); }, std::min(maxRuns, 15), name,
                     [&] {
                         s.expectCalls(0, "measurement save");
                         s.showDay(day);
                         s.clickItem(QStringLiteral("lstAct"), QStringLiteral("起床後"));
                     });
    };
    table.row(group, QStringLiteral("save a measurement: append (today)")).value[size] =
        save(g.last, QStringLiteral("save append"));
    table.row(group, QStringLiteral("save a measurement: insert (a day mid-log)")).value[size] =
        save(g.middleDay, QStringLiteral("save insert"));
    s.expectCalls(0, "measurement save");

    s.click(QStringLiteral("cmdMemo"));
    auto* memo = s.find<ui::GridView>(QStringLiteral("msgMemoList"));
    int n = 0;
    table.row(group, QStringLiteral("diary save of one comment")).value[size] =
        timed([&] { s.click(QStringLiteral("cmdMemoHozon")); }, std::min(maxRuns, 15), QStringLiteral("diary save"),
              [&] {
                  s.expectCalls(0, "diary save");
                  Q_EMIT memo->cellClicked(memo->rows() - 10, 2);
                  s.find<QLineEdit>(QStringLiteral("txtMemo"))->setText(QStringLiteral("ベンチ%1回目").arg(++n));
              });
    s.expectCalls(0, "diary save");

    // a correction from the diary list's menu and its undo (Ctrl+Z): each rewrites the log once
    // and shows the list again
    const auto menuEntry = [&](const char* name) {
        const auto menu = memo->findChild<ui::RecordListMenu*>()->menuFor(memo->rows() - 10);
        menu->findChild<QAction*>(QString::fromUtf8(name))->trigger();
        settle();
    };
    bool commented = false;
    const auto correct = [&] {
        commented = !commented;
        s.dialogs().queueRecordAnswer([commented](const ui::RecordForm& shown) {
            ui::RecordForm form = shown;
            form.comment = commented ? QStringLiteral("ベンチで修正") : QString();
            return std::optional<ui::RecordForm>(form);
        });
        menuEntry("actCorrect");
        s.expectCalls(1, "correction");
    };
    table.row(group, QStringLiteral("correct a record from the diary list")).value[size] =
        timed(correct, std::min(maxRuns, 15), QStringLiteral("correct a record"));
    table.row(group, QStringLiteral("undo a correction (Ctrl+Z)")).value[size] = timed(
        [&] {
            s.w().recordEditor()->undo();
            settle();
            s.expectCalls(0, "undo");
        },
        std::min(maxRuns, 15), QStringLiteral("undo a correction"), correct);

    s.click(QStringLiteral("cmdSettei"));
    bool renamed = false;
    table.row(group, QStringLiteral("situation rename on the edit panel")).value[size] = timed(
        [&] {
            s.click(QStringLiteral("cmdChg"));
            s.expectCalls(2, "rename"); // the question and the report of the rename
            renamed = !renamed;
        },
        std::min(maxRuns, 15), QStringLiteral("situation rename"),
        [&] {
            const QString from = renamed ? QStringLiteral("起床直後") : QStringLiteral("起床後");
            const QString to = renamed ? QStringLiteral("起床後") : QStringLiteral("起床直後");
            s.clickItem(QStringLiteral("lstKoumoku"), from);
            s.find<QLineEdit>(QStringLiteral("txtChg"))->setText(to);
            s.dialogs().queueAnswer(ui::Dialogs::Answer::Ok);
        });
}

/// Runs @p argv with its output to /dev/null and waits for it; returns its wall-clock time in
/// milliseconds.
double runProgram(const std::vector<QByteArray>& argv) {
    std::vector<char*> args;
    for (const QByteArray& a : argv)
        args.push_back(const_cast<char*>(a.constData()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
        qFatal("cannot start %s", args[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("%s failed", args[0]);
    return clock.nsecsElapsed() / 1e6;
}

/// The peak resident memory of @p argv in kB. It runs under /usr/bin/time: a child started
/// straight from this large process would count this process's memory as its own.
double peakOfProgram(const std::vector<QByteArray>& argv) {
    QTemporaryDir dir;
    const QByteArray out = QFile::encodeName(dir.filePath(QStringLiteral("peak")));
    std::vector<QByteArray> timed = {"/usr/bin/time", "-f", "%M", "-o", out};
    timed.insert(timed.end(), argv.begin(), argv.end());
    runProgram(timed);
    QFile f(QFile::decodeName(out));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no peak memory from /usr/bin/time");
    return f.readAll().trimmed().toDouble();
}

/// The report's figures of one view on one log, beside those of the floor.
struct ReportRow {
    int size = 0;
    QString view;
    double iconvMs = 0;
    double tsvMs = 0;
    double jsonMs = 0;
    double tsvKb = 0;
    double jsonKb = 0;
};

/// pukapuka-report, whole process, for every view in TSV and in JSON, and `iconv -f CP932 -t
/// UTF-8` of the same log, all in rounds so that each figure is taken beside the others.
std::vector<ReportRow> benchReport(int size, const QString& dir, int rounds) {
    const QByteArray log = QFile::encodeName(resolveFile(dir, files::kData));
    const QByteArray folder = QFile::encodeName(dir);
    const QStringList views = {QStringLiteral("main"),  QStringLiteral("range"), QStringLiteral("analysis"),
                               QStringLiteral("graph"), QStringLiteral("daily"), QStringLiteral("calendar"),
                               QStringLiteral("diary"), QStringLiteral("trend")};
    const auto command = [&](const QString& view, const char* format) {
        return std::vector<QByteArray>{PUKAPUKA_REPORT_TOOL, "-C",       folder, "--today",
                                       "2026/12/07",         "--format", format, view.toLatin1()};
    };
    std::vector<double> iconvMs;
    std::map<QString, std::vector<double>> tsvMs, jsonMs, tsvKb, jsonKb;
    for (int round = 0; round <= rounds; ++round) {
        const double floor = runProgram({"iconv", "-f", "CP932", "-t", "UTF-8", log});
        for (const QString& view : views) {
            const double tsv = runProgram(command(view, "tsv"));
            const double json = runProgram(command(view, "json"));
            if (round == 0)
                continue; // the warm-up round
            tsvMs[view].push_back(tsv);
            jsonMs[view].push_back(json);
        }
        if (round > 0)
            iconvMs.push_back(floor);
    }
    // the memory does not depend on the machine's other work: three runs each
    for (int run = 0; run < 3; ++run) {
        for (const QString& view : views) {
            tsvKb[view].push_back(peakOfProgram(command(view, "tsv")));
            jsonKb[view].push_back(peakOfProgram(command(view, "json")));
        }
    }
    std::vector<ReportRow> rows;
    for (const QString& view : views)
        rows.push_back({size, view, median(iconvMs), median(tsvMs[view]), median(jsonMs[view]), median(tsvKb[view]),
                        median(jsonKb[view])});
    return rows;
}

QString firstLine(const QString& path, const QString& key) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key.toLatin1()))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    return QString();
}

QString machine() {
    const QString cpu = firstLine(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    const double ramGb = firstLine(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))
                             .section(QLatin1Char(' '), 0, 0)
                             .toDouble() /
                         1024 / 1024;
#if defined(__clang__)
    const QString compiler = QStringLiteral("Clang ") + QStringLiteral(__clang_version__);
#elif defined(__GNUC__)
    const QString compiler = QStringLiteral("GCC ") + QStringLiteral(__VERSION__);
#else
    const QString compiler = QStringLiteral("unknown");
#endif
    return QStringLiteral("- CPU: %1, %2 cores\n- RAM: %3 GB\n- OS: %4 (kernel %5)\n- Compiler: %6, Qt %7\n"
                          "- Build type: %8\n")
        .arg(cpu)
        .arg(QThread::idealThreadCount())
        .arg(ramGb, 0, 'f', 1)
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), compiler, QString::fromLatin1(qVersion()),
             QStringLiteral(PUKAPUKA_BUILD_TYPE));
}

QString number(double v, bool memory) {
    if (memory)
        return QString::number(v / 1024, 'f', 1);
    return QString::number(v, 'f', v < 10 ? 2 : 1);
}

void writeReport(Table& table, const std::vector<int>& sizes, const std::vector<MalformedLog>& malformed,
                 const std::vector<ReportRow>& reportRows, const QString& out, double seconds) {
    QString md;
    QTextStream t(&md);
    t << "# Benchmarks\n\n"
      << "Written by `pukapuka-bench` (`bash scripts/bench.sh`); do not edit by hand.\n\n"
      << "Times are medians in milliseconds. Core rows include `READ_DATA`: what a view costs when "
         "the log has to be read (the window keeps one reading of each file and reads it again only "
         "when it changed on disk); they run in rounds (one warm-up round, then 7 to 21 rounds), each "
         "round taking every core figure of one log once, so that a view and the floor it is compared "
         "with are measured side by side. Window rows drive the real main "
         "window on the offscreen platform with scripted dialogs and include the event processing "
         "that follows the action (at least 5 and up to 15 or 21 runs after a warm-up): \"open\" "
         "opens a panel again on a log that did not change since the last opening, \"the log read "
         "again\" opens it after the kept reading was let go, as after a change, and \"watched "
         "refresh\" is the time from another program's append to the rebuilt list on screen, the "
         "watcher's wait of 150 ms for a burst of changes to settle included. Memory is "
         "VmHWM of a fresh child process that starts the program and opens the panel.\n\n"
      << "## Machine\n\n"
      << machine() << QStringLiteral("- Load average when the run began: %1\n").arg(loadAtStart)
      << QStringLiteral("- Bench run: %1 s\n\n").arg(seconds, 0, 'f', 0);
    t << "## Results\n\n| Group | Measure |";
    for (int n : sizes)
        t << " " << QLocale(QLocale::English).toString(n) << " records |";
    t << " ×floor at 32,766 | growth 32,766→100,000 |\n|---|---|";
    for (size_t i = 0; i < sizes.size() + 2; ++i)
        t << "---:|";
    t << "\n";
    const Row* floor = nullptr;
    for (const Row& r : table.rows())
        if (r.name.startsWith(QLatin1String("floor")))
            floor = &r;
    for (const Row& r : table.rows()) {
        t << "| " << r.group << " | " << r.name << (r.memory ? " (MB)" : "") << " |";
        for (int n : sizes)
            t << " " << (r.value.count(n) ? number(r.value.at(n), r.memory) : QStringLiteral("–")) << " |";
        if (r.group == QLatin1String("Core") && floor && floor->value.count(32766) && r.value.count(32766))
            t << " " << QString::number(r.value.at(32766) / floor->value.at(32766), 'f', 2) << " |";
        else
            t << " |";
        if (r.value.count(32766) && r.value.count(100000))
            t << " " << QString::number(r.value.at(100000) / r.value.at(32766), 'f', 2) << "× |";
        else
            t << " |";
        t << "\n";
    }
    t << "\nThe record count grows 3.05× from 32,766 to 100,000; a growth figure at or below that "
         "is linear or better.";
    if (floor && floor->value.count(32766) && floor->value.count(100000))
        t << " The floor itself, reading and decoding with nothing else, grows "
          << QString::number(floor->value.at(100000) / floor->value.at(32766), 'f', 2)
          << "× here: the larger log and its decoded text fit the processor's caches less well. "
             "The saves also wait for the file to reach the disk (fsync), which takes what the "
             "storage takes. `bash scripts/bench-instructions.sh` adds the instructions each core "
             "view and window action executes, which depend on neither.";
    t << "\n";
    if (!reportRows.empty()) {
        t << "\n## pukapuka-report, whole process\n\n"
          << "Each view printed by `pukapuka-report` (started, run and ended, its output to /dev/null), "
             "in TSV and in JSON, beside `iconv -f CP932 -t UTF-8` of the same log, the floor of any program "
             "that reads it: medians of 7 rounds after a warm-up round, each round running the floor and "
             "every view once. Peak memory is the maximum resident set of three more runs under "
             "`/usr/bin/time`.\n\n"
          << "| Log | View | iconv (ms) | TSV (ms) | TSV ×iconv | JSON (ms) | JSON ×TSV | TSV peak (MB) | "
             "JSON peak (MB) | JSON ×TSV memory |\n|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
        for (const ReportRow& r : reportRows)
            t << "| " << QLocale(QLocale::English).toString(r.size) << " | " << r.view << " | "
              << number(r.iconvMs, false) << " | " << number(r.tsvMs, false) << " | "
              << QString::number(r.tsvMs / r.iconvMs, 'f', 2) << " | " << number(r.jsonMs, false) << " | "
              << QString::number(r.jsonMs / r.tsvMs, 'f', 2) << " | " << number(r.tsvKb, true) << " | "
              << number(r.jsonKb, true) << " | " << QString::number(r.jsonKb / r.tsvKb, 'f', 2) << " |\n";
    }
    if (!malformed.empty()) {
        t << "\n## Reading any log\n\n"
          << "The memory `READ_DATA` adds to a process (the peak resident memory of a child that reads the "
             "log and builds its daily averages, less what it held before), against the limit of four times "
             "the file's size plus 64 MB. Unreadable lines are counted, and only the first hundred keep "
             "their reason; a line dated outside 1900–2099 is unreadable, so no view spans more days.\n\n"
          << "| Log | Size (MB) | Memory the read adds (MB) | Limit (MB) |\n|---|---:|---:|---:|\n";
        for (const MalformedLog& m : malformed) {
            const double mb = m.bytes / (1024 * 1024);
            t << "| " << m.name << " | " << QString::number(mb, 'f', 1) << " | "
              << QString::number(m.addedKb / 1024, 'f', 1) << " | " << QString::number(4 * mb + 64, 'f', 1) << " |\n";
        }
    }
    t.flush();
    QFile f(out);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(md.toUtf8()) < 0)
        qFatal("cannot write %s", qUtf8Printable(out));
    std::printf("%s", qPrintable(md));
}

} // namespace

int main(int argc, char** argv) {
    // the heap settings of the program itself
    allocator::keepFreedMemory();
    if (argc == 3 && QByteArray(argv[1]) == "--read-memory") {
        clock::setFixed(kNow);
        return readMemoryChild(QString::fromLocal8Bit(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    clock::setFixed(kNow);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--memory"))
        return memoryChild(args.value(1), args.mid(2));
    if (args.value(0) == QLatin1String("--write-data-set") && args.size() == 3) {
        // the data set of one size into a folder, for measuring by hand
        const bench::GeneratedLog g = bench::writeDataSet(args.at(1), args.at(2).toInt(), kToday);
        std::printf("%d records over %d days\n", g.records, g.days);
        return 0;
    }

    Options options;
    options.out = QStringLiteral(PUKAPUKA_SOURCE_DIR "/BENCHMARKS.md");
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--quick"))
            options.quick = true;
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            options.out = args[++i];
        else if (args[i] == QLatin1String("--core-only"))
            options.coreOnly = true;
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            options.only = args[++i];
        else if (args[i] == QLatin1String("--repeat") && i + 1 < args.size())
            repeatCount = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--sizes") && i + 1 < args.size())
            for (const QString& n : args[++i].split(QLatin1Char(',')))
                options.sizes.push_back(n.toInt());
        else {
            std::fprintf(stderr,
                         "usage: pukapuka-bench [--out FILE] [--quick] [--core-only] [--only NAME [--repeat N]] "
                         "[--sizes N,N,...]\n");
            return 2;
        }
    }
    std::vector<int> sizes = options.quick ? std::vector<int>{1000, 32766} : std::vector<int>{1000, 32766, 100000};
    if (!options.sizes.empty())
        sizes = options.sizes;
    onlyPattern = options.only;
    {
        QFile load(QStringLiteral("/proc/loadavg"));
        if (load.open(QIODevice::ReadOnly))
            loadAtStart = QString::fromLatin1(load.readAll()).section(QLatin1Char(' '), 0, 2);
    }
    QElapsedTimer all;
    all.start();
    Table table;
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    std::vector<bench::GeneratedLog> logs;
    std::vector<CoreJob> jobs;
    for (int size : sizes) {
        dirs.push_back(std::make_unique<QTemporaryDir>());
        logs.push_back(bench::writeDataSet(dirs.back()->path(), size, kToday));
        const bench::GeneratedLog& g = logs.back();
        std::fprintf(stderr, "%d records over %d days (%s to %s)\n", size, g.days,
                     qPrintable(g.first.toString(Qt::ISODate)), qPrintable(g.last.toString(Qt::ISODate)));
        addCoreJobs(&jobs, size, dirs.back()->path(), g);
    }
    const int maxRuns = options.quick ? 3 : 21;
    benchCore(table, jobs, options.quick ? 3 : 21);
    std::fprintf(stderr, "core views done\n");
    std::vector<ReportRow> reportRows;
    for (size_t i = 0; i < sizes.size() && !options.coreOnly; ++i) {
        const int size = sizes[i];
        const QString dir = dirs[i]->path();
        const bench::GeneratedLog& g = logs[i];
        // the memory children start on the log as generated, before the saves below change it
        const bool memory = onlyPattern.isEmpty() && (!options.quick || size == kMemorySize);
        if (memory) {
            const QString group = QStringLiteral("Memory");
            table.row(group, QStringLiteral("peak, main panel after start-up"), true).value[size] = peakKb(dir, {});
            for (const auto& [button, name] : kPanels)
                if (button != QLatin1String("cmdMain"))
                    table.row(group, QStringLiteral("peak, ") + name, true).value[size] = peakKb(dir, {button});
            QStringList every;
            for (const auto& p : kPanels)
                every.append(p.first);
            table.row(group, QStringLiteral("peak, every panel in turn"), true).value[size] = peakKb(dir, every);
            std::fprintf(stderr, "  %d: memory done\n", size);
        }
        // the report, on the log as generated too
        if (onlyPattern.isEmpty() && size >= kMemorySize) {
            for (const ReportRow& r : benchReport(size, dir, options.quick ? 3 : 7))
                reportRows.push_back(r);
            std::fprintf(stderr, "  %d: report done\n", size);
        }
        benchUi(table, size, dir, g, maxRuns);
        std::fprintf(stderr, "  %d: window done\n", size);
    }
    std::vector<MalformedLog> malformed;
    if (onlyPattern.isEmpty()) {
        const qint64 unreadable = options.quick ? 2000000 : 20000000;
        malformed.push_back(
            malformedLog(QLocale(QLocale::English).toString(unreadable) + " unreadable lines (x)", "x", unreadable));
        malformed.push_back(malformedLog(QStringLiteral("two lines dated 0001/01/01 and 9999/12/31"),
                                         "\"0001/01/01\",\"x\",60,\"\",20,\"\"", 1));
        {
            QFile f(QDir(malformed.back().dir->path()).filePath(files::kData));
            if (f.open(QIODevice::Append))
                f.write("\"9999/12/31\",\"x\",60,\"\",20,\"\"\r\n");
        }
        // one line of nothing but commas: a line of millions of fields
        const qint64 commas = options.quick ? 2000000 : 20000000;
        malformed.push_back(
            malformedLog(QStringLiteral("one line of %1 commas").arg(QLocale(QLocale::English).toString(commas)),
                         QByteArray(commas, ','), 1));
        const qint64 shortest = options.quick ? 200000 : 1000000;
        // a readable record in few bytes: the records, not the bytes, are what the memory holds
        malformed.push_back(malformedLog(QLocale(QLocale::English).toString(shortest) +
                                             " records of 35 bytes (\"2003/07/25\",\"朝\",75.5,\"\",22.3,\"\")",
                                         "\"2003/07/25\",\"\x92\xa9\",75.5,\"\",22.3,\"\"", shortest));
        for (MalformedLog& m : malformed)
            measureRead(&m);
        MalformedLog generated;
        generated.name = QLocale(QLocale::English).toString(sizes.back()) + " records as generated";
        generated.dir = std::move(dirs.back());
        measureRead(&generated);
        malformed.push_back(std::move(generated));
        std::fprintf(stderr, "reading any log done\n");
    }
    writeReport(table, sizes, malformed, reportRows, options.out, all.elapsed() / 1000.0);
    return 0;
}
