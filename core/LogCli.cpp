#include "LogCli.h"

#include "Clock.h"
#include "DataLog.h"
#include "MainView.h"
#include "MeasurementEntry.h"
#include "NumberFormat.h"
#include "Settings.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <optional>

namespace puka::logtool {
namespace {

const QString kProgram = QStringLiteral("pukapuka-log: ");

// What a command writes to standard output and standard error.
struct Output {
    QByteArray* out;
    QByteArray* err;
};

// A usage error or a file that cannot be read or written: one line naming the cause.
int fail(const Output& o, const QString& message) {
    QString line = message;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    *o.err = (kProgram + line + QLatin1Char('\n')).toUtf8();
    return Failed;
}

// A check refused the change: the text the window shows for the same check.
int refuse(const Output& o, const QString& message) {
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    *o.err = (text + QLatin1Char('\n')).toUtf8();
    return Refused;
}

// The options of a command: flags, and options with a value; the first one not among them is
// reported.
struct Options {
    QMap<QString, QString> values;
    QString error;

    Options(const QStringList& args, const QStringList& flags, const QStringList& valued) {
        for (int i = 0; i < args.size() && error.isEmpty(); ++i) {
            const QString& a = args.at(i);
            if (flags.contains(a))
                values.insert(a, QString());
            else if (valued.contains(a) && i + 1 < args.size())
                values.insert(a, args.at(++i));
            else if (valued.contains(a))
                error = QStringLiteral("%1 には値を指定してください").arg(a);
            else
                error = QStringLiteral("知らないオプション「%1」です（使えるもの: %2）")
                            .arg(a, (flags + valued).join(QStringLiteral(", ")));
        }
    }
    bool has(const QString& name) const { return values.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

std::optional<QDate> dateOf(const QString& text) {
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

// add: one measurement, as the save button saves it.
int add(const QString& dir, const QStringList& args, const Output& o) {
    const Options options(args, {QStringLiteral("--yes")},
                          {QStringLiteral("--weight"), QStringLiteral("--fat"), QStringLiteral("--situation"),
                           QStringLiteral("--comment"), QStringLiteral("--date")});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    if (!options.has(QStringLiteral("--weight")))
        return fail(o, QStringLiteral("--weight で体重を指定してください"));
    QDate day = clock::today();
    if (options.has(QStringLiteral("--date"))) {
        const auto d = dateOf(options.value(QStringLiteral("--date")));
        if (!d)
            return fail(o, QStringLiteral("--date の日付「%1」が正しくありません（YYYY/MM/DD）")
                               .arg(options.value(QStringLiteral("--date"))));
        day = *d;
    }

    // the entry starts from what the window would show for the day: its last measurement, or the
    // log's last record
    const LogContents log = datalog::READ_DATA(dir);
    if (!log.status.ok())
        return fail(o, log.status.message());
    if (!log.exists)
        return fail(o, QStringLiteral("%1 に「データ.txt」がありません。記録は画面の「新規スタート」から始めてください")
                           .arg(QDir::toNativeSeparators(QDir(dir).absolutePath())));
    const Profile profile = settings::READ_PRIVATE(dir).value;
    const MainValues values = mainview::DSP_MAIN(log.records, day, profile.height).values;

    entry::Input input;
    input.sampleMode = entry::isSampleData(values.startDate, profile);
    input.situation = options.has(QStringLiteral("--situation")) ? options.value(QStringLiteral("--situation"))
                                                                 : clock::timeText(clock::now());
    input.weightText = options.value(QStringLiteral("--weight"));
    input.fatText = options.has(QStringLiteral("--fat")) ? options.value(QStringLiteral("--fat"))
                                                         : shortestText(values.currentBodyFat);
    input.currentWeight = values.currentWeight;
    input.currentBodyFat = values.currentBodyFat;
    int from = 0;
    while (const auto check = entry::firstCheck(input, from)) {
        if (!check->confirm || !options.has(QStringLiteral("--yes")))
            return refuse(o, check->message);
        from = check->step + 1;
    }

    const std::optional<QString> comment = options.has(QStringLiteral("--comment"))
                                               ? std::optional<QString>(options.value(QStringLiteral("--comment")))
                                               : std::nullopt;
    entry::SaveResult saved;
    const Status s =
        entry::saveEntry(dir, input, day, settings::READ_JIKAN(dir).value == 1, clock::now(), comment, &saved);
    if (saved.refused)
        return refuse(o, s.message());
    if (!s.inPlace())
        return fail(o, s.message());
    const WeightRecord& r = saved.record;
    QString line = QStringLiteral("%1「%2」体重 %3 体脂肪率 %4")
                       .arg(r.date, r.situation, shortestText(r.weight), shortestText(r.bodyFat));
    if (!r.comment.isEmpty())
        line += QStringLiteral(" 一言日記「%1」").arg(r.comment);
    line += saved.placement == entry::Placement::Insert ? QStringLiteral(" を日付の順の位置に挿入しました")
                                                        : QStringLiteral(" を最後の行に追加しました");
    *o.out = (line + QLatin1Char('\n')).toUtf8();
    // written, though the folder could not be flushed to disk: said, and still a success
    if (!s.ok())
        fail(o, s.message());
    return Written;
}

struct Command {
    const char* name;
    int (*run)(const QString& dir, const QStringList& args, const Output& o);
};

// The commands built so far; the others of the contract are named so that a script gets a
// clear answer.
const Command kCommands[] = {{"add", add}};
const char* const kLaterCommands[] = {"edit", "delete", "import", "export", "backups", "restore"};

} // namespace

QByteArray usage() {
    return QByteArrayLiteral(
        "usage: pukapuka-log [-C DIR] [--today YYYY/MM/DD] COMMAND [OPTIONS]\n"
        "commands:\n"
        "  add --weight W [--fat F] [--situation TEXT] [--comment TEXT] [--date YYYY/MM/DD] [--yes]\n");
}

int run(const QStringList& args, QByteArray* out, QByteArray* err) {
    const Output o{out, err};
    QString dir = QStringLiteral(".");
    int i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("-C")) {
            if (i + 1 >= args.size())
                return fail(o, QStringLiteral("-C にはフォルダを指定してください"));
            dir = args.at(++i);
        } else if (a == QLatin1String("--today")) {
            const auto d = i + 1 < args.size() ? dateOf(args.at(i + 1)) : std::nullopt;
            if (!d)
                return fail(o, QStringLiteral("--today には YYYY/MM/DD の日付を指定してください"));
            ++i;
            // the date is the given one; the time of day, used by the time stamp, stays the clock's
            clock::setFixed(QDateTime(*d, clock::now()));
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            *out = usage();
            return Written;
        } else if (a.startsWith(QLatin1Char('-'))) {
            return fail(o, QStringLiteral("知らないオプション「%1」です").arg(a));
        } else {
            break;
        }
    }
    if (i >= args.size())
        return fail(o, QStringLiteral("コマンドを指定してください: add"));
    const QString name = args.at(i);
    for (const char* later : kLaterCommands)
        if (name == QLatin1String(later))
            return fail(o, QStringLiteral("コマンド「%1」はまだ使えません（使えるもの: add）").arg(name));
    for (const Command& c : kCommands) {
        if (name != QLatin1String(c.name))
            continue;
        if (!QFileInfo(dir).isDir())
            return fail(o, QStringLiteral("フォルダ「%1」がありません").arg(dir));
        return c.run(dir, args.mid(i + 1), o);
    }
    return fail(o, QStringLiteral("知らないコマンド「%1」です（使えるもの: add）").arg(name));
}

} // namespace puka::logtool
