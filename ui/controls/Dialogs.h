#pragma once

#include "core/base/Status.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace puka::ui {

/// The fields of a measurement in the correction dialog.
struct RecordForm {
    QDate date;
    QString situation;
    QString weightText;
    QString fatText;
    QString comment;

    bool operator==(const RecordForm& o) const {
        return date == o.date && situation == o.situation && weightText == o.weightText && fatText == o.fatText &&
               comment == o.comment;
    }
};

/// What the import preview shows for one choice of the situation of the rows without one.
struct ImportPreviewText {
    QString text;           ///< the lines of the preview
    bool canImport = false; ///< the import would add something with this choice
};

/// The import preview: what was found in a file and what importing it would do, with the
/// choice of a situation for the rows that have none.
struct ImportPreviewForm {
    QString fileName;
    bool asksSituation = false;   ///< some rows have no situation: the choice is offered
    QString defaultSituationName; ///< the name of the default choice, whose value is an empty text
    QStringList situations;       ///< the words of the situation list; another word may be typed
    /// The preview for a situation (an empty text: the default); called again on every choice.
    std::function<ImportPreviewText(const QString& situation)> describe;
};

/// Where a file is saved, and as which of the offered types.
struct SaveTarget {
    QString path;
    int type = 0; ///< the index of the type chosen
};

/// The modal boxes a panel asks the user through: message boxes, input boxes and the
/// save-file question. Panels hold a Dialogs& so that tests can answer in their place.
class Dialogs {
public:
    enum class Icon {
        Information, ///< results and notices
        Warning,     ///< refusals of an input
        Critical,    ///< errors
        Question,    ///< a question such as the print confirmation
        Exclamation, ///< confirmations before data are deleted or rewritten (drawn as a warning)
    };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class DefaultButton { First, Second };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    /// Shows a message box and returns the button pressed; closing the box counts as its
    /// Cancel or No button. @p prompt is shown as given, CR LF and LF alike break lines.
    Answer message(const QString& prompt, const QString& title, Icon icon = Icon::Information,
                   Buttons buttons = Buttons::Ok, DefaultButton defaultButton = DefaultButton::First) {
        return showMessage(prompt, title, icon, buttons, defaultButton);
    }
    /// Shows an input box; returns the typed text, or an empty text when cancelled.
    QString input(const QString& prompt, const QString& title, const QString& defaultText = QString()) {
        return showInput(prompt, title, defaultText);
    }
    /// Asks where to save a file; returns the chosen path, or an empty text when cancelled.
    /// @p filter is a file-dialog filter such as "PDF (*.pdf)".
    QString saveFileName(const QString& title, const QString& suggestedName, const QString& filter) {
        return askSaveFileName(title, suggestedName, filter);
    }

    /// Asks for a file to open; returns its path, or an empty text when cancelled.
    QString openFileName(const QString& title, const QString& filter) { return askOpenFileName(title, filter); }
    /// Asks where to save a file and as which of @p types (file-dialog filters such as
    /// "CSV (*.csv)"); returns the path and the type, or nothing when cancelled.
    std::optional<SaveTarget> saveFileAs(const QString& title, const QString& suggestedName, const QStringList& types,
                                         int defaultType = 0) {
        return askSaveTarget(title, suggestedName, types, defaultType);
    }
    /// Shows the import preview; returns the situation chosen for the rows without one (an
    /// empty text: the default), or nothing when cancelled.
    std::optional<QString> previewImport(const QString& title, const ImportPreviewForm& form) {
        return showImportPreview(title, form);
    }

    /// Shows the correction dialog of a measurement filled with @p form; @p situations are the
    /// words its situation list offers (a word not among them may be typed). Returns the fields
    /// as the user left them, or nothing when cancelled.
    std::optional<RecordForm> editRecord(const QString& title, const QString& prompt, const RecordForm& form,
                                         const QStringList& situations) {
        return showRecordForm(title, prompt, form, situations);
    }
    /// Lets the user choose one row of a list with the column @p headers; returns its index, or
    /// -1 when cancelled. @p okText is the caption of the button that confirms the choice.
    int choose(const QString& title, const QString& prompt, const QStringList& headers, const QList<QStringList>& rows,
               const QString& okText) {
        return showChoice(title, prompt, headers, rows, okText);
    }

protected:
    virtual Answer showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                               DefaultButton defaultButton) = 0;
    virtual QString showInput(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    virtual QString askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) = 0;
    virtual std::optional<RecordForm> showRecordForm(const QString& title, const QString& prompt,
                                                     const RecordForm& form, const QStringList& situations) = 0;
    virtual int showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                           const QList<QStringList>& rows, const QString& okText) = 0;
    virtual QString askOpenFileName(const QString& title, const QString& filter) = 0;
    virtual std::optional<SaveTarget> askSaveTarget(const QString& title, const QString& suggestedName,
                                                    const QStringList& types, int defaultType) = 0;
    virtual std::optional<QString> showImportPreview(const QString& title, const ImportPreviewForm& form) = 0;
};

/// Shows a failed @p status: its text and title with the critical icon and an OK button.
inline void showFailure(Dialogs& dialogs, const Status& status) {
    dialogs.message(status.message(), status.notice().title, Dialogs::Icon::Critical);
}

} // namespace puka::ui
