#pragma once

#include <QString>

namespace puka {

/// Names of the program's files in the working directory.
namespace files {
inline const QString kData = QStringLiteral("データ.txt");
inline const QString kSituations = QStringLiteral("状況リスト.txt");
inline const QString kHelpTour = QStringLiteral("設定.TXT");
inline const QString kSteps = QStringLiteral("体重計刻み.TXT");
inline const QString kTimeStamp = QStringLiteral("自動時間.TXT");
inline const QString kMovingAverage = QStringLiteral("移動平均.TXT");
inline const QString kMarker = QStringLiteral("マーカー.TXT");
inline const QString kProfile = QStringLiteral("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
inline const QString kNotes = QStringLiteral("気付きメモ.TXT");
inline const QString kDailyExport = QStringLiteral("日毎平均.txt");
inline const QString kLegacyLog = QStringLiteral("連続体重.txt");
inline const QString kLegacyLogBackup = QStringLiteral("連続体重bak.txt");
inline const QString kDataBackup = QStringLiteral("データbak.txt");
} // namespace files

/// The path of @p name in @p dir, matching the extension without regard to letter case:
/// an existing "設定.txt" answers for "設定.TXT". When no such file exists the name is
/// returned as given, so that a writer creates it under that name.
QString resolveFile(const QString& dir, const QString& name);

/// True when resolveFile() finds an existing file for @p name.
bool fileExists(const QString& dir, const QString& name);

} // namespace puka
