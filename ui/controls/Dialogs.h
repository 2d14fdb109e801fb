#pragma once

#include <QString>

namespace puka::ui {

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

protected:
    virtual Answer showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                               DefaultButton defaultButton) = 0;
    virtual QString showInput(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    virtual QString askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) = 0;
};

} // namespace puka::ui
