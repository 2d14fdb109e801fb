#include "core/base/Messages.h"

namespace puka::messages {

QString saveErrorTitle() {
    return QStringLiteral("保存エラー");
}

QString readErrorTitle() {
    return QStringLiteral("読み込みエラー");
}

QString conversionTitle() {
    return QStringLiteral("データ変換");
}

QString printTitle() {
    return QStringLiteral("印刷");
}

QString unencodableTitle() {
    return QStringLiteral("入力できない文字");
}

QString printQuestionTitle() {
    return QStringLiteral("印刷確認");
}

QString printQuestion() {
    return QStringLiteral("表示中のデータを印刷しますか？ \r\n\r\n良かったらＯＫボタンを押してください");
}

QString clearQuestionTitle() {
    return QStringLiteral("クリア確認");
}

QString noChoiceTitle() {
    return QStringLiteral("状況未選択");
}

QString abnormalInputTitle() {
    return QStringLiteral("異常入力");
}

QString abnormalCheckTitle() {
    return QStringLiteral("異常確認");
}

QString sampleDataRefusal() {
    return QStringLiteral("ご自身のデータでスタートする時は編集ボタンで新規スタートしてください。");
}

QString sampleDataRefusalTitle() {
    return QStringLiteral("新規スタート促し");
}

QString addSituationTitle() {
    return QStringLiteral("状況の追加");
}

QString correctRecordTitle() {
    return QStringLiteral("記録の修正");
}

QString productName() {
    return QStringLiteral("Pukapuka☆ダイエット");
}

QString fileNotFound(const QString& name) {
    return QStringLiteral("「%1」が見つかりません。").arg(name);
}

QString missingFolder(const QString& folder) {
    return QStringLiteral("フォルダ「%1」がありません").arg(folder);
}

QString unknownOption(const QString& option) {
    return QStringLiteral("知らないオプション「%1」です").arg(option);
}

QString unknownOption(const QString& option, const QString& known) {
    return QStringLiteral("知らないオプション「%1」です（使えるもの: %2）").arg(option, known);
}

QString badDateOption(const QString& value) {
    return QStringLiteral("--date の日付「%1」が正しくありません（YYYY/MM/DD）").arg(value);
}

} // namespace puka::messages
