#pragma once

#include <QString>

namespace puka {

/// The titles and texts that more than one place shows; a text shown once stays beside its check.
namespace messages {

QString saveErrorTitle();   ///< 保存エラー: a file could not be written
QString readErrorTitle();   ///< 読み込みエラー: a file could not be read
QString conversionTitle();  ///< データ変換: converting older files
QString printTitle();       ///< 印刷: a print that failed
QString unencodableTitle(); ///< 入力できない文字: a text Shift_JIS cannot hold
QString printQuestionTitle();
/// The question before printing what a panel shows.
QString printQuestion();
QString clearQuestionTitle(); ///< クリア確認: before something is deleted or replaced
QString noChoiceTitle();      ///< 状況未選択: a list action with no word chosen
QString abnormalInputTitle(); ///< 異常入力: a value the measurement entry refuses
QString abnormalCheckTitle(); ///< 異常確認: a value the measurement entry asks about
/// The refusal of a measurement while the sample data are shown.
QString sampleDataRefusal();
QString sampleDataRefusalTitle();
QString addSituationTitle();  ///< 状況の追加
QString correctRecordTitle(); ///< 記録の修正
QString productName();        ///< the program's name

/// 「name」が見つかりません。
QString fileNotFound(const QString& name);
/// No folder of the name @p folder.
QString missingFolder(const QString& folder);
/// An option the command-line tool does not know.
QString unknownOption(const QString& option);
/// An option not among @p known (listed with commas).
QString unknownOption(const QString& option, const QString& known);
/// A --date value that is no date.
QString badDateOption(const QString& value);

} // namespace messages
} // namespace puka
