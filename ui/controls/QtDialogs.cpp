#include "QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace puka::ui {
namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A lone CR would be drawn as a stray glyph; the caller's CR LF means one line break.
QString displayText(const QString& prompt) {
    QString text = prompt;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

Dialogs::Answer QtDialogs::showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                                       DefaultButton defaultButton) {
    QMessageBox box(toQtIcon(icon), title, displayText(prompt), QMessageBox::NoButton, m_parent);
    // the prompt keeps its own line breaks; a rich-text guess would swallow them
    box.setTextFormat(Qt::PlainText);
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Buttons::OkCancel:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNo:
        first = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        second = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        break;
    }
    box.setDefaultButton(defaultButton == DefaultButton::Second && second ? second : first);
    // Escape and the close button answer with the safe button
    box.setEscapeButton(second ? second : first);
    box.exec();

    const bool pressedFirst = box.clickedButton() == first || (!second && box.clickedButton() == nullptr);
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return pressedFirst ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
        return pressedFirst ? Answer::Yes : Answer::No;
    }
    return Answer::Cancel;
}

QString QtDialogs::showInput(const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

QString QtDialogs::askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) {
    QFileDialog dialog(m_parent, title, suggestedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggestedName);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    const QString suffix = QFileInfo(suggestedName).suffix();
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace puka::ui
