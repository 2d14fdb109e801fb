#include "ui/controls/ScriptedDialogs.h"

#include <QDebug>

namespace puka::ui {
namespace {

bool fits(Dialogs::Answer answer, Dialogs::Buttons buttons) {
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return answer == Dialogs::Answer::Ok;
    case Dialogs::Buttons::OkCancel:
        return answer == Dialogs::Answer::Ok || answer == Dialogs::Answer::Cancel;
    case Dialogs::Buttons::YesNo:
        return answer == Dialogs::Answer::Yes || answer == Dialogs::Answer::No;
    }
    return false;
}

Dialogs::Answer safeAnswer(Dialogs::Buttons buttons) {
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return Dialogs::Answer::Ok;
    case Dialogs::Buttons::OkCancel:
        return Dialogs::Answer::Cancel;
    case Dialogs::Buttons::YesNo:
        return Dialogs::Answer::No;
    }
    return Dialogs::Answer::Cancel;
}

} // namespace

QList<ScriptedDialogs::Call> ScriptedDialogs::takeCalls() {
    QList<Call> taken;
    taken.swap(m_calls);
    return taken;
}

void ScriptedDialogs::unexpected(const Call& call, const QString& why) {
    m_unexpected.append(call);
    const QString text =
        QStringLiteral("unexpected dialog (%1): title \"%2\", prompt \"%3\"").arg(why, call.title, call.prompt);
    if (m_onFailure)
        m_onFailure(text);
    else
        qWarning().noquote() << text;
}

Dialogs::Answer ScriptedDialogs::showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                                             DefaultButton defaultButton) {
    Call call;
    call.kind = Kind::Message;
    call.prompt = prompt;
    call.title = title;
    call.icon = icon;
    call.buttons = buttons;
    call.def = defaultButton;
    m_calls.append(call);
    // a notice with only OK asks nothing: it is recorded, never answered from the queue
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        unexpected(call, QStringLiteral("no answer queued"));
        return safeAnswer(buttons);
    }
    const Answer answer = m_answers.dequeue();
    if (!fits(answer, buttons)) {
        unexpected(call, QStringLiteral("the queued answer is not one of its buttons"));
        return safeAnswer(buttons);
    }
    return answer;
}

QString ScriptedDialogs::showInput(const QString& prompt, const QString& title, const QString& defaultText) {
    Call call;
    call.kind = Kind::Input;
    call.prompt = prompt;
    call.title = title;
    call.defaultText = defaultText;
    m_calls.append(call);
    if (m_inputs.isEmpty()) {
        unexpected(call, QStringLiteral("no input queued"));
        return {};
    }
    return m_inputs.dequeue();
}

QString ScriptedDialogs::askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) {
    Call call;
    call.kind = Kind::SaveFileName;
    call.title = title;
    call.defaultText = suggestedName;
    call.filter = filter;
    m_calls.append(call);
    if (m_fileNames.isEmpty()) {
        unexpected(call, QStringLiteral("no file name queued"));
        return {};
    }
    return m_fileNames.dequeue();
}

std::optional<RecordForm> ScriptedDialogs::showRecordForm(const QString& title, const QString& prompt,
                                                          const RecordForm& form, const QStringList& situations) {
    Call call;
    call.kind = Kind::RecordForm;
    call.prompt = prompt;
    call.title = title;
    call.form = form;
    call.items = situations;
    m_calls.append(call);
    if (m_recordAnswers.isEmpty()) {
        unexpected(call, QStringLiteral("no record answer queued"));
        return std::nullopt;
    }
    return m_recordAnswers.dequeue()(form);
}

int ScriptedDialogs::showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                                const QList<QStringList>& rows, const QString& okText) {
    Call call;
    call.kind = Kind::Choice;
    call.prompt = prompt;
    call.title = title;
    call.defaultText = okText;
    call.items.append(headers.join(QLatin1Char('\t')));
    for (const QStringList& row : rows)
        call.items.append(row.join(QLatin1Char('\t')));
    m_calls.append(call);
    if (m_choices.isEmpty()) {
        unexpected(call, QStringLiteral("no choice queued"));
        return -1;
    }
    const int row = m_choices.dequeue();
    return row < static_cast<int>(rows.size()) ? row : -1;
}

QString ScriptedDialogs::askOpenFileName(const QString& title, const QString& filter) {
    Call call;
    call.kind = Kind::OpenFileName;
    call.title = title;
    call.filter = filter;
    m_calls.append(call);
    if (m_fileNames.isEmpty()) {
        unexpected(call, QStringLiteral("no file name queued"));
        return {};
    }
    return m_fileNames.dequeue();
}

std::optional<SaveTarget> ScriptedDialogs::askSaveTarget(const QString& title, const QString& suggestedName,
                                                         const QStringList& types, int defaultType) {
    Call call;
    call.kind = Kind::SaveTarget;
    call.title = title;
    call.defaultText = suggestedName;
    call.filter = types.join(QStringLiteral(";;"));
    call.type = defaultType;
    m_calls.append(call);
    if (m_fileNames.isEmpty()) {
        unexpected(call, QStringLiteral("no file name queued"));
        return std::nullopt;
    }
    const QString path = m_fileNames.dequeue();
    const int type = m_fileTypes.isEmpty() ? defaultType : m_fileTypes.dequeue();
    if (path.isEmpty())
        return std::nullopt;
    return SaveTarget{path, type};
}

std::optional<QString> ScriptedDialogs::showImportPreview(const QString& title, const ImportPreviewForm& form) {
    Call call;
    call.kind = Kind::ImportPreview;
    call.title = title;
    call.preview = form;
    call.items = form.situations;
    call.defaultText = form.defaultSituationName;
    // the dialog opens with the default choice, as the real one does
    const ImportPreviewText opening = form.describe(QString());
    call.prompt = opening.text;
    if (m_importAnswers.isEmpty()) {
        m_calls.append(call);
        unexpected(call, QStringLiteral("no import answer queued"));
        return std::nullopt;
    }
    const std::optional<QString> answer = m_importAnswers.dequeue();
    if (!answer) {
        m_calls.append(call);
        return std::nullopt;
    }
    const ImportPreviewText chosen = answer->isEmpty() ? opening : form.describe(*answer);
    call.chosenText = chosen.text;
    m_calls.append(call);
    // the real dialog takes no answer while its import button is off
    if (!chosen.canImport) {
        unexpected(call, QStringLiteral("the import button is off for the queued choice"));
        return std::nullopt;
    }
    return answer;
}

} // namespace puka::ui
