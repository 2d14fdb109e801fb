#include "core/edits/NewStart.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/Backups.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace puka::newstart {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A number typed in half-width digits, blanks at either end allowed.
std::optional<double> typedNumber(const QString& text) {
    if (!entry::isNumeric(text))
        return std::nullopt;
    return parseNumber(text);
}

std::optional<Notice> textRefusal(const QString& text, const QString& what, const QString& title) {
    const Status problem = textFieldProblem(text, what);
    if (problem)
        return std::nullopt;
    return Notice{problem.message(), title};
}

// Undoes a step when a later one fails, so the new start changes everything or nothing.
Status restore(const QString& path, const Result<FileBytes>& old) {
    if (old && old->exists)
        return writeFileAtomic(path, old->bytes);
    if (QFile::exists(path) && !QFile::remove(path))
        return Status::failure(QStringLiteral("「%1」を元に戻せませんでした。").arg(QFileInfo(path).fileName()));
    return {};
}

} // namespace

QString defaultSituation() {
    return QStringLiteral("はじめの一歩");
}

Notice introduction() {
    const QStringList lines = {
        QStringLiteral("新規にプカプカダイエットをスタートさせます。"),
        QString(),
        QStringLiteral("あなたの名前（ニックネーム）を入力してください。フォームのタイトルに反映されます。"),
        QStringLiteral("※入力は必須ではありません。空欄だとタイトルに名前が入らないだけです。"),
        QString(),
        QStringLiteral("身長と目標体重を半角文字で入力してください。（※必須です）"),
        QString(),
        QStringLiteral("現在（スタート時）の体重を入力してください。（※必須です）"),
        QString(),
        QStringLiteral("現在（スタート時）の体脂肪率を入力してください。（※必須です）"),
        QString(),
        QStringLiteral("初期の状況として記録したい言葉を入力してください。"),
        QStringLiteral("デフォルトでは「はじめの一歩」と入れていますが自由に変更できます。（※必須です）"),
        QString(),
        QStringLiteral("入力し準備ができたら新規登録ボタンを押してください。"),
    };
    return {lines.join(kCrLf) + kCrLf, QStringLiteral("データを登録しましょう")};
}

std::optional<Notice> profileRefusal(const QString& heightText, const QString& targetText) {
    if (heightText.isEmpty())
        return Notice{QStringLiteral("身長が入力されていません"), QStringLiteral("身長未入力")};
    if (const auto h = typedNumber(heightText); !h || *h <= 0)
        return Notice{QStringLiteral("身長は 0 より大きい数を半角の数字で入力してください（例: 168.5）"),
                      QStringLiteral("身長入力エラー")};
    if (targetText.isEmpty())
        return Notice{QStringLiteral("目標体重が入力されていません"), QStringLiteral("目標体重未入力")};
    if (const auto t = typedNumber(targetText); !t || *t <= 0)
        return Notice{QStringLiteral("目標体重は 0 より大きい数を半角の数字で入力してください（例: 65）"),
                      QStringLiteral("目標体重入力エラー")};
    return std::nullopt;
}

std::optional<Notice> nameRefusal(const QString& name) {
    return textRefusal(name, QStringLiteral("名前"), QStringLiteral("名前入力エラー"));
}

std::optional<Notice> firstRefusal(const Input& in) {
    if (auto r = profileRefusal(in.heightText, in.targetText))
        return r;
    if (in.weightText.isEmpty())
        return Notice{QStringLiteral("現在の体重が入力されていません"), QStringLiteral("現体重未入力")};
    // the start record must be a measurement the entry would accept
    if (const auto w = typedNumber(in.weightText); !w || *w <= 0 || *w >= 999)
        return Notice{QStringLiteral("現在の体重は 0 より大きく 999 より小さい数を半角の数字で入力してください"),
                      QStringLiteral("現体重入力エラー")};
    if (in.fatText.isEmpty())
        return Notice{QStringLiteral("現在の体脂肪率が入力されていません"), QStringLiteral("現体脂肪率未入力")};
    if (const auto f = typedNumber(in.fatText); !f || *f < 0)
        return Notice{QStringLiteral("現在の体脂肪率は 0 以上の数を半角の数字で入力してください"),
                      QStringLiteral("現体脂肪率入力エラー")};
    if (in.situationText.isEmpty())
        return Notice{QStringLiteral("初回の状況が入力されていません"), QStringLiteral("初回状況（コメント）未入力")};
    if (auto r = textRefusal(in.situationText, QStringLiteral("初期状況"), QStringLiteral("初回状況入力エラー")))
        return r;
    return nameRefusal(in.name);
}

Notice confirmQuestion() {
    return {QStringLiteral("入力した内容でデータを作ります。よろしいですか？"), messages::clearQuestionTitle()};
}

Profile profileOf(const Input& in) {
    Profile p;
    p.userName = in.name;
    p.height = static_cast<float>(leadingNumber(in.heightText));
    p.targetWeight = static_cast<float>(leadingNumber(in.targetText));
    return p;
}

WeightRecord startRecord(const Input& in, const QDate& today) {
    WeightRecord r;
    r.date = today.toString(QStringLiteral("yyyy/MM/dd"));
    r.situation = in.situationText;
    r.weight = static_cast<float>(leadingNumber(in.weightText));
    r.bodyFat = static_cast<float>(leadingNumber(in.fatText));
    return r;
}

QString backupName(const QString& dir, const QDate& today) {
    const QString stem = QStringLiteral("データ_") + today.toString(QStringLiteral("yyyyMMdd"));
    QString name = stem + QStringLiteral(".txt");
    // a link of that name, even one that points nowhere, is the user's and no free name
    const auto taken = [&dir](const QString& n) { return fileExists(dir, n) || entryExists(QDir(dir).filePath(n)); };
    for (int i = 2; taken(name); ++i)
        name = stem + QLatin1Char('_') + QString::number(i) + QStringLiteral(".txt");
    return name;
}

Status start(const QString& dir, const Input& input, StartOutcome* result) {
    if (const auto refusal = firstRefusal(input))
        return Status::failure(refusal->text);
    const QDate today = clock::today();
    StartOutcome r;
    r.profile = profileOf(input);
    r.record = startRecord(input, today);

    const auto newLog =
        encodeLines({datalog::formatLine64(r.record, leadingNumber(input.weightText), leadingNumber(input.fatText))});
    if (!newLog)
        return newLog.status();
    Status status;

    // the old files are read and every step written under one hold of the write lock, so an
    // undo puts back nothing but this new start's own change
    const FolderWriteLock lock(dir);
    const QString logPath = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(logPath);
    const auto oldLog = readFileBytes(logPath);
    if (!oldLog)
        return oldLog.status();
    const QString profilePath = resolveFile(dir, files::kProfile);
    const auto oldProfile = readFileBytes(profilePath);
    if (!oldProfile)
        return oldProfile.status();

    // a file that is in place but could not be flushed to disk stops nothing; it is told at the end
    UnflushedWrites unflushed;
    if (oldLog->exists) {
        status = backups::backupBeforeChange(dir, backups::Reason::NewStart, &oldLog->bytes);
        if (!status)
            return status;
    }
    QString backupPath;
    if (oldLog->exists) {
        r.backupName = backupName(dir, today);
        backupPath = QDir(dir).filePath(r.backupName);
        status = writeFileAtomic(backupPath, oldLog->bytes);
        if (!unflushed.inPlace(status))
            return status;
    }
    auto undoBackup = [&] {
        if (!backupPath.isEmpty())
            QFile::remove(backupPath);
    };

    status = settings::writeProfile(dir, r.profile);
    if (!unflushed.inPlace(status)) {
        undoBackup();
        return status;
    }
    status = writeFileAtomic(logPath, *newLog);
    if (!unflushed.inPlace(status)) {
        const Status undo = restore(profilePath, oldProfile);
        undoBackup();
        if (!undo)
            return Status::failure(status.message() + kCrLf + undo.message());
        return status;
    }
    if (result)
        *result = r;
    return unflushed.status();
}

Notice finished(const QString& backupName) {
    QString text =
        QStringLiteral("登録が終了しました。") + kCrLf + kCrLf +
        QStringLiteral("一旦プログラムを終了させていただきます。次の起動からプカプカダイエットのスタートです！");
    if (!backupName.isEmpty())
        text += kCrLf + kCrLf + QStringLiteral("これまでのデータは「%1」として残してあります。").arg(backupName);
    return {text, QStringLiteral("新規登録終了")};
}

} // namespace puka::newstart
