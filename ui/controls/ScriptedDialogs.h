#pragma once

#include "ui/controls/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

namespace puka::ui {

/// The test double of Dialogs: the answers are queued before the action, and every box the
/// code under test shows is recorded. A box with only OK is a notice: it is recorded and
/// answered OK without taking a queued answer. Any other box with no suitable queued answer
/// is a fault of the test or of the code: it is recorded in unexpectedCalls(), reported to the
/// failure handler and answered conservatively (Cancel, No, an empty text).
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Input, SaveFileName, RecordForm, Choice, OpenFileName, SaveTarget, ImportPreview };
    /// How a test answers the correction dialog: the fields as the user leaves them, from the
    /// fields it was filled with; nothing cancels it.
    using RecordAnswer = std::function<std::optional<ui::RecordForm>(const ui::RecordForm& shown)>;
    struct Call {
        Kind kind = Kind::Message;
        QString prompt;
        QString title;
        Icon icon = Icon::Information;
        Buttons buttons = Buttons::Ok;
        DefaultButton def = DefaultButton::First;
        QString defaultText; ///< the input's default text, or the suggested file name
        QString filter;      ///< the file dialog's filter; the types of a save target joined by ";;"
        int type = 0;        ///< the type a save target dialog offered first
        ui::RecordForm form; ///< the fields the correction dialog was filled with
        QStringList items;   ///< the correction dialog's situations, or the rows of a choice (columns joined by tabs)
        ui::ImportPreviewForm preview; ///< the form the import preview was shown with
        QString chosenText;            ///< the import preview's text for the situation it was answered with
    };

    ScriptedDialogs() = default;

    void queueAnswer(Answer answer) { m_answers.enqueue(answer); }
    void queueInput(const QString& text) { m_inputs.enqueue(text); }
    void queueFileName(const QString& path) { m_fileNames.enqueue(path); }
    void queueRecordAnswer(RecordAnswer answer) { m_recordAnswers.enqueue(std::move(answer)); }
    /// The row a choice list is answered with; -1 cancels it.
    void queueChoice(int row) { m_choices.enqueue(row); }
    /// The type a save target dialog is answered with, beside its queued file name; without one
    /// the type it offered first is kept.
    void queueFileType(int type) { m_fileTypes.enqueue(type); }
    /// The import preview's answer: the situation chosen (an empty text: the default); nothing
    /// cancels it.
    void queueImportAnswer(std::optional<QString> situation) { m_importAnswers.enqueue(std::move(situation)); }

    /// Every box shown so far, in order.
    const QList<Call>& calls() const { return m_calls; }
    /// The calls so far, which are then forgotten.
    QList<Call> takeCalls();
    /// The boxes that found no suitable queued answer.
    const QList<Call>& unexpectedCalls() const { return m_unexpected; }
    /// Queued answers, inputs and file names that were never asked for.
    int unusedAnswers() const {
        return static_cast<int>(m_answers.size() + m_inputs.size() + m_fileNames.size() + m_recordAnswers.size() +
                                m_choices.size() + m_fileTypes.size() + m_importAnswers.size());
    }

    /// Called with a description of every unexpected box, for example to fail the running test.
    void setFailureHandler(std::function<void(const QString&)> handler) { m_onFailure = std::move(handler); }

protected:
    Answer showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                       DefaultButton defaultButton) override;
    QString showInput(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) override;
    std::optional<ui::RecordForm> showRecordForm(const QString& title, const QString& prompt,
                                                 const ui::RecordForm& form, const QStringList& situations) override;
    int showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                   const QList<QStringList>& rows, const QString& okText) override;
    QString askOpenFileName(const QString& title, const QString& filter) override;
    std::optional<SaveTarget> askSaveTarget(const QString& title, const QString& suggestedName,
                                            const QStringList& types, int defaultType) override;
    std::optional<QString> showImportPreview(const QString& title, const ImportPreviewForm& form) override;

private:
    void unexpected(const Call& call, const QString& why);

    QQueue<Answer> m_answers;
    QQueue<QString> m_inputs;
    QQueue<QString> m_fileNames;
    QQueue<RecordAnswer> m_recordAnswers;
    QQueue<int> m_choices;
    QQueue<int> m_fileTypes;
    QQueue<std::optional<QString>> m_importAnswers;
    QList<Call> m_calls;
    QList<Call> m_unexpected;
    std::function<void(const QString&)> m_onFailure;
};

} // namespace puka::ui
