#include "tools/log/LogCli.h"

#include "core/Version.h"
#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/edits/LogEdits.h"
#include "core/edits/LogImport.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/Backups.h"
#include "core/files/DataLog.h"
#include "core/files/LogExport.h"
#include "core/files/Settings.h"
#include "core/views/MainView.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
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
                error = messages::unknownOption(a, (flags + valued).join(QStringLiteral(", ")));
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
            return fail(o, messages::badDateOption(options.value(QStringLiteral("--date"))));
        day = *d;
    }

    // the entry starts from what the window would show for the day: its last measurement, or the
    // log's last record
    const LogContents log = datalog::readLog(dir);
    if (!log.status.ok())
        return fail(o, log.status.message());
    if (!log.exists)
        return fail(o, QStringLiteral("%1 に「データ.txt」がありません。記録は画面の「新規スタート」から始めてください")
                           .arg(QDir::toNativeSeparators(QDir(dir).absolutePath())));
    const Profile profile = settings::readProfile(dir).value;
    const MainValues values = mainview::buildMainView(log.records, day, profile.height).values;

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
            return refuse(o, check->notice.text);
        from = check->step + 1;
    }

    const std::optional<QString> comment = options.has(QStringLiteral("--comment"))
                                               ? std::optional<QString>(options.value(QStringLiteral("--comment")))
                                               : std::nullopt;
    entry::SaveResult saved;
    const Status s =
        entry::saveEntry(dir, input, day, settings::readTimeStamp(dir).value == 1, clock::now(), comment, &saved);
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

// The measurements of the log for a command that changes one of them; nothing, and the exit
// status, when the log cannot be read or is not there.
std::optional<LogContents> readLogOrFail(const QString& dir, const Output& o, int* exit) {
    LogContents log = datalog::readLog(dir);
    if (!log.status.ok()) {
        *exit = fail(o, log.status.message());
        return std::nullopt;
    }
    if (!log.exists) {
        *exit =
            fail(o, QStringLiteral("%1 に「データ.txt」がありません。記録は画面の「新規スタート」から始めてください")
                        .arg(QDir::toNativeSeparators(dir)));
        return std::nullopt;
    }
    return log;
}

// The record number N of edit and delete: a whole number from 1, as the comment diary shows it.
std::optional<int> recordNumber(const QStringList& args, const QString& command, const Output& o, int* exit) {
    bool ok = false;
    const int number = args.isEmpty() ? 0 : args.first().toInt(&ok);
    if (!ok || number < 1) {
        *exit =
            fail(o, QStringLiteral("%1 には記録の番号（一言日記の「回数」、1 から）を指定してください").arg(command));
        return std::nullopt;
    }
    return number;
}

// A record number the log does not hold is refused as a check refuses.
std::optional<WeightRecord> numberedRecord(const LogContents& log, int number, const Output& o, int* exit) {
    const int count = static_cast<int>(log.records.size());
    if (number > count) {
        *exit = refuse(o, count == 0
                              ? QStringLiteral("「データ.txt」に記録がありません。")
                              : QStringLiteral("%1 番目の記録はありません（記録は 1 番目から %2 番目まであります）。")
                                    .arg(number)
                                    .arg(count));
        return std::nullopt;
    }
    return log.records[static_cast<size_t>(number - 1)];
}

// edit N: corrects a record with the entry's checks, as the correction dialog does.
int edit(const QString& dir, const QStringList& args, const Output& o) {
    int exit = Written;
    const auto number = recordNumber(args, QStringLiteral("edit"), o, &exit);
    if (!number)
        return exit;
    const QStringList fields = {QStringLiteral("--weight"), QStringLiteral("--fat"), QStringLiteral("--situation"),
                                QStringLiteral("--comment"), QStringLiteral("--date")};
    const Options options(args.mid(1), {QStringLiteral("--yes")}, fields);
    if (!options.error.isEmpty())
        return fail(o, options.error);
    if (std::none_of(fields.begin(), fields.end(), [&](const QString& f) { return options.has(f); }))
        return fail(o, QStringLiteral("直す項目を %1 で指定してください").arg(fields.join(QStringLiteral(", "))));
    if (options.has(QStringLiteral("--date")) && !dateOf(options.value(QStringLiteral("--date"))))
        return fail(o, messages::badDateOption(options.value(QStringLiteral("--date"))));
    const auto log = readLogOrFail(dir, o, &exit);
    if (!log)
        return exit;
    const auto record = numberedRecord(*log, *number, o, &exit);
    if (!record)
        return exit;

    logedits::Correction c = logedits::correctionOf(*record);
    const std::pair<QString, QString*> given[] = {{QStringLiteral("--weight"), &c.weightText},
                                                  {QStringLiteral("--fat"), &c.fatText},
                                                  {QStringLiteral("--situation"), &c.situation},
                                                  {QStringLiteral("--comment"), &c.comment},
                                                  {QStringLiteral("--date"), &c.date}};
    for (const auto& [option, field] : given)
        if (options.has(option))
            *field = options.value(option);
    const Profile profile = settings::readProfile(dir).value;
    const bool sample = entry::isSampleData(log->records.front().date, profile);
    const auto reference = logedits::referenceFor(log->records, *number, c.date);
    int from = 0;
    while (const auto check = logedits::firstCheck(c, sample, reference, from)) {
        if (!check->confirm || !options.has(QStringLiteral("--yes")))
            return refuse(o, check->notice.text);
        from = check->step + 1;
    }
    const WeightRecord corrected = logedits::correctedRecord(c, *record);
    Status problem = datalog::recordProblem(corrected);
    if (problem)
        problem = logedits::dateProblem(log->records, *number, corrected.date);
    if (!problem)
        return refuse(o, problem.message());

    logedits::LogChange applied;
    const Status s = logedits::correctRecord(dir, *number, *record, corrected, &applied);
    if (!s.inPlace())
        return fail(o, s.message());
    QString line = QStringLiteral("%1 番目の記録を直しました: %2 → %3")
                       .arg(*number)
                       .arg(logedits::recordText(*record), logedits::recordText(corrected));
    const int now = applied.steps.empty() ? *number : applied.steps.front().addedNumber;
    if (now != *number)
        line += QStringLiteral("（%1 番目に移りました）").arg(now);
    *o.out = (line + QLatin1Char('\n')).toUtf8();
    if (!s.ok())
        fail(o, s.message());
    return Written;
}

// delete N: deletes a record; the window's question is answered by --yes.
int remove(const QString& dir, const QStringList& args, const Output& o) {
    int exit = Written;
    const auto number = recordNumber(args, QStringLiteral("delete"), o, &exit);
    if (!number)
        return exit;
    const Options options(args.mid(1), {QStringLiteral("--yes")}, {});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    const auto log = readLogOrFail(dir, o, &exit);
    if (!log)
        return exit;
    const auto record = numberedRecord(*log, *number, o, &exit);
    if (!record)
        return exit;
    if (*number == 1)
        return refuse(o, logedits::startRecordMessage());
    if (!options.has(QStringLiteral("--yes")))
        return refuse(o, logedits::deleteQuestion(*number, *record));
    const Status s = logedits::deleteRecord(dir, *number, *record);
    if (!s.inPlace())
        return fail(o, s.message());
    *o.out =
        QStringLiteral("%1 番目の記録を削除しました: %2\n").arg(*number).arg(logedits::recordText(*record)).toUtf8();
    if (!s.ok())
        fail(o, s.message());
    return Written;
}

// backups: the automatic backups, newest first.
int listBackups(const QString& dir, const QStringList& args, const Output& o) {
    const Options options(args, {}, {});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    const auto listed = backups::listBackups(dir);
    if (!listed)
        return fail(o, listed.message());
    const std::vector<backups::BackupInfo>& list = *listed;
    QString text;
    for (const backups::BackupInfo& b : list)
        text += QStringLiteral("%1\t%2\t%3\n")
                    .arg(b.name, b.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                    .arg(b.records);
    *o.out = text.toUtf8();
    return Written;
}

// restore NAME: puts a backup back as the log, after backing up the log it replaces.
int restore(const QString& dir, const QStringList& args, const Output& o) {
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return fail(
            o, QStringLiteral("restore には戻すバックアップの名前を指定してください（pukapuka-log backups で一覧）"));
    const QString name = args.first();
    const Options options(args.mid(1), {QStringLiteral("--yes")}, {});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    const auto listed = backups::listBackups(dir);
    if (!listed)
        return fail(o, listed.message());
    const std::vector<backups::BackupInfo>& list = *listed;
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const backups::BackupInfo& b) { return b.name == name; });
    if (found == list.end())
        return refuse(o, QStringLiteral("「%1」というバックアップはありません。").arg(name));
    if (found->unreadable)
        return fail(o, found->problem);
    if (!found->problem.isEmpty())
        return refuse(o, found->problem);
    if (!options.has(QStringLiteral("--yes")))
        return refuse(o, backups::restoreQuestion(*found));
    backups::RestoreResult result;
    const Status s = backups::restoreBackup(dir, name, &result);
    if (!s.inPlace())
        return fail(o, s.message());
    QString line = backups::restoredNotice(result);
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    *o.out = (line + QLatin1Char('\n')).toUtf8();
    if (!s.ok())
        fail(o, s.message());
    return Written;
}

// import FILE: merges the measurements of another program's table into the log.
int importFile(const QString& dir, const QStringList& args, const Output& o) {
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return fail(o, QStringLiteral("import には取り込むファイルを指定してください"));
    const QString path = args.first();
    const Options options(args.mid(1), {QStringLiteral("--dry-run"), QStringLiteral("--yes")},
                          {QStringLiteral("--unit"), QStringLiteral("--situation")});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    csvimport::Options read;
    if (options.has(QStringLiteral("--unit"))) {
        const QString unit = options.value(QStringLiteral("--unit")).toLower();
        if (unit == QLatin1String("kg"))
            read.unit = csvimport::Unit::Kilogram;
        else if (unit == QLatin1String("lb"))
            read.unit = csvimport::Unit::Pound;
        else
            return fail(o, QStringLiteral("--unit には kg か lb を指定してください"));
    }
    read.situation = options.value(QStringLiteral("--situation"));
    const bool yes = options.has(QStringLiteral("--yes"));
    const auto stop = [&o](const Status& status, bool fileError) {
        return fileError ? fail(o, status.message()) : refuse(o, status.message());
    };

    const logimport::Source source = logimport::readSource(path, read);
    if (!source.status)
        return stop(source.status, source.fileError);
    const logimport::Outcome planned = logimport::preview(dir, source, yes);
    if (options.has(QStringLiteral("--dry-run"))) {
        QStringList lines = logimport::previewLines(source, planned);
        if (planned.status && planned.plan.beforeStart > 0 && !yes)
            lines << QStringLiteral("（開始記録より前の行は --yes を付けると取り込みます）");
        *o.out = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        return planned.status ? Written : planned.fileError ? Failed : Refused;
    }
    if (!planned.status)
        return stop(planned.status, planned.fileError);
    if (source.table.rows.empty())
        return refuse(o, QStringLiteral("「%1」に取り込める行がありません。\n").arg(QFileInfo(path).fileName()) +
                             source.table.findings().join(QLatin1Char('\n')));
    if (planned.plan.beforeStart > 0 && !yes)
        return refuse(o, planned.plan.beforeStartQuestion());

    const logimport::Outcome done = logimport::importInto(dir, source, yes);
    if (!done.status.inPlace())
        return stop(done.status, done.fileError);
    *o.out = (logimport::doneLine(done, source.table) + QLatin1Char('\n')).toUtf8();
    // the rows left out are said line by line, as the preview lists them
    QString notes;
    for (const csvimport::RefusedRow& r : source.table.refused)
        notes += QStringLiteral("%1 行目: %2\n").arg(r.lineNumber).arg(r.reason);
    if (source.table.refusedCount > qint64(source.table.refused.size()))
        notes += QStringLiteral("ほか %1 行\n").arg(source.table.refusedCount - qint64(source.table.refused.size()));
    if (!done.status.ok())
        notes += kProgram + QString(done.status.message()).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) +
                 QLatin1Char('\n');
    *o.err = notes.toUtf8();
    return Written;
}

// export: every record as CSV, to a file or to standard output.
int exportRecords(const QString& dir, const QStringList& args, const Output& o) {
    const Options options(args, {}, {QStringLiteral("--output"), QStringLiteral("--encoding")});
    if (!options.error.isEmpty())
        return fail(o, options.error);
    csvexport::Encoding encoding = csvexport::Encoding::Utf8;
    if (options.has(QStringLiteral("--encoding"))) {
        const QString name = options.value(QStringLiteral("--encoding")).toLower();
        if (name == QLatin1String("cp932"))
            encoding = csvexport::Encoding::Cp932;
        else if (name != QLatin1String("utf-8"))
            return fail(o, QStringLiteral("--encoding には utf-8 か cp932 を指定してください"));
    }
    const QString path = options.value(QStringLiteral("--output"));
    if (options.has(QStringLiteral("--output")) && path.isEmpty())
        return fail(o, QStringLiteral("--output には書き出すファイルの名前を指定してください"));
    // standard output takes the CSV alone, without the mark, for a pipe
    const logexport::Outcome done =
        path.isEmpty() ? logexport::exportLog(dir, encoding, false) : logexport::exportToFile(dir, path, encoding);
    if (!done.status.inPlace())
        return done.fileError ? fail(o, done.status.message()) : refuse(o, done.status.message());
    QString notes = done.notice;
    if (!done.status.ok())
        notes += (notes.isEmpty() ? QString() : QStringLiteral("\r\n")) + done.status.message();
    if (!notes.isEmpty())
        fail(o, notes);
    *o.out = path.isEmpty() ? done.bytes : (logexport::doneLine(done, path, encoding) + QLatin1Char('\n')).toUtf8();
    return Written;
}

struct Command {
    const char* name;
    int (*run)(const QString& dir, const QStringList& args, const Output& o);
};

const Command kCommands[] = {
    {"add", add},         {"edit", edit},         {"delete", remove},        {"backups", listBackups},
    {"restore", restore}, {"import", importFile}, {"export", exportRecords},
};
const QString kCommandNames = QStringLiteral("add, edit, delete, backups, restore, import, export");

} // namespace

QByteArray usage() {
    return QByteArrayLiteral(
        "usage: pukapuka-log [-C DIR] [--today YYYY/MM/DD] COMMAND [OPTIONS]\n"
        "       pukapuka-log --help | --version\n"
        "commands:\n"
        "  add --weight W [--fat F] [--situation TEXT] [--comment TEXT] [--date YYYY/MM/DD] [--yes]\n"
        "  edit N [--weight W] [--fat F] [--situation TEXT] [--comment TEXT] [--date YYYY/MM/DD] [--yes]\n"
        "  delete N --yes\n"
        "  backups\n"
        "  restore NAME --yes\n"
        "  import FILE [--dry-run] [--unit kg|lb] [--situation TEXT] [--yes]\n"
        "  export [--output FILE] [--encoding utf-8|cp932]\n"
        "N is the record's number as the comment diary shows it (1 = the start record, which cannot\n"
        "be deleted). NAME is a backup's file name as 'backups' lists it. Without --yes a question\n"
        "of the window refuses the change (status 1).\n"
        "import reads a CSV or TSV file of another program (UTF-8, UTF-16 or Shift_JIS; columns\n"
        "found by their headers, in English or Japanese) and merges its measurements into the\n"
        "log in date order; rows already in the log are skipped, and rows dated before the start\n"
        "record are taken only with --yes. --dry-run prints what was found and what would be\n"
        "added, and writes nothing. --unit is the unit of weights whose header names none\n"
        "(default kg); --situation is the situation of rows without one (default: the time of\n"
        "day, else \"インポート\").\n"
        "export writes every record as CSV (日付,状況,体重(kg),体脂肪率(%),コメント) to standard\n"
        "output, or to FILE (replaced at once; UTF-8 with a byte order mark unless cp932).\n");
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
        } else if (a == QLatin1String("--version")) {
            *out = QByteArrayLiteral("pukapuka-log ") + kVersion + '\n';
            return Written;
        } else if (a.startsWith(QLatin1Char('-'))) {
            return fail(o, messages::unknownOption(a));
        } else {
            break;
        }
    }
    if (i >= args.size())
        return fail(o, QStringLiteral("コマンドを指定してください: %1").arg(kCommandNames));
    const QString name = args.at(i);
    for (const Command& c : kCommands) {
        if (name != QLatin1String(c.name))
            continue;
        if (!QFileInfo(dir).isDir())
            return fail(o, messages::missingFolder(dir));
        return c.run(dir, args.mid(i + 1), o);
    }
    return fail(o, QStringLiteral("知らないコマンド「%1」です（使えるもの: %2）").arg(name, kCommandNames));
}

} // namespace puka::logtool
