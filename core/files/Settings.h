#pragma once

#include "core/base/Status.h"

#include <QString>
#include <QStringList>

namespace puka {

/// The profile: name, height and target weight.
struct Profile {
    QString userName;
    float height = 0;       ///< cm
    float targetWeight = 0; ///< kg
};

/// The steps of the up and down buttons, as the texts the user chose or typed.
struct Steps {
    QString weightStep = QStringLiteral("0.1");
    QString fatStep = QStringLiteral("0.1");
};

/// A setting as read from its file. A missing file gives the default silently; a file that
/// does not hold a usable value gives the default and a Japanese @c problem for the user.
template <class T> struct Setting {
    T value{};
    bool missing = false;
    QString problem;
};

/// The small setting files of the working directory. Each reader falls back to its default:
/// help tour on, steps 0.1 and 0.1, time stamp off, moving-average window 10, marker 1,
/// empty notes memo, empty profile. Each writer replaces its file whole and at once.
namespace settings {

inline constexpr int kDefaultHelpTour = 1;
inline constexpr int kDefaultTimeStamp = 0;
inline constexpr int kDefaultMarker = 1;
inline const QString kDefaultWindow = QStringLiteral("10");

/// "設定.TXT": the help-tour flag, 1 = on.
Setting<int> readHelpTour(const QString& dir);
Status writeHelpTour(const QString& dir, int flag);

/// "体重計刻み.TXT": weight step on line 1, body-fat step on line 2.
Setting<Steps> readSteps(const QString& dir);
Status writeSteps(const QString& dir, const Steps& steps);

/// "自動時間.TXT": the automatic time stamp switch, 1 = on.
Setting<int> readTimeStamp(const QString& dir);
Status writeTimeStamp(const QString& dir, int value);
/// Writes "自動時間.TXT" again in the form writeTimeStamp gives it when @p read (what readTimeStamp
/// found there) came from another form of the same value, such as "1" or " 1 ,x" for " 1 ".
/// A missing file, and one that did not hold a readable value, are left as they are.
Status rewriteTimeStampInWrittenForm(const QString& dir, const Setting<int>& read);

/// "移動平均.TXT": the moving-average window as the user chose or typed it.
Setting<QString> readMovingAverage(const QString& dir);
Status writeMovingAverage(const QString& dir, const QString& text);
/// The choices of the moving-average list: "1" to "30".
QStringList movingAverageChoices();

/// "ﾌﾟﾗｲﾍﾞｰﾄ.txt": name, height and target weight.
Setting<Profile> readProfile(const QString& dir);
Status writeProfile(const QString& dir, const Profile& profile);

/// "気付きメモ.TXT": the notes memo, read back exactly as it was saved.
Setting<QString> readNotes(const QString& dir);
Status writeNotes(const QString& dir, const QString& text);

/// "マーカー.TXT": the marker style of the main chart, 0 none, 1 circle, 2 ball.
Setting<int> readMarker(const QString& dir);
Status writeMarker(const QString& dir, int mode);

/// The window caption for a user name.
QString windowCaption(const QString& userName);

} // namespace settings
} // namespace puka
