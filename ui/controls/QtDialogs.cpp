#include "ui/controls/QtDialogs.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

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

// The Japanese labels of a file dialog, whose accept button says @p accept.
void labelFileDialog(QFileDialog& dialog, const QString& lookIn, const QString& accept) {
    dialog.setLabelText(QFileDialog::LookIn, lookIn);
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
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

std::optional<RecordForm> QtDialogs::showRecordForm(const QString& title, const QString& prompt, const RecordForm& form,
                                                    const QStringList& situations) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("dlgRecord"));
    dialog.setWindowTitle(title);
    auto* date = new QDateEdit(form.date, &dialog);
    date->setObjectName(QStringLiteral("dtpDate"));
    date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    date->setCalendarPopup(true);
    date->setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
    auto* situation = new QComboBox(&dialog);
    situation->setObjectName(QStringLiteral("cboSituation"));
    situation->setEditable(true);
    situation->setInsertPolicy(QComboBox::NoInsert);
    situation->addItems(situations);
    situation->setEditText(form.situation);
    situation->setMinimumWidth(220);
    const auto field = [&dialog](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, &dialog);
        edit->setObjectName(QString::fromUtf8(name));
        return edit;
    };
    QLineEdit* weight = field("txtWeight", form.weightText);
    QLineEdit* fat = field("txtFat", form.fatText);
    QLineEdit* comment = field("txtComment", form.comment);
    for (QLineEdit* number : {weight, fat}) {
        number->setAlignment(Qt::AlignRight);
        number->setMaximumWidth(100);
    }
    comment->setMinimumWidth(320);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("日付"), date);
    fields->addRow(QStringLiteral("行動（状況）"), situation);
    fields->addRow(QStringLiteral("体重（Kg）"), weight);
    fields->addRow(QStringLiteral("体脂肪率（％）"), fat);
    fields->addRow(QStringLiteral("一言日記"), comment);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(displayText(prompt), &dialog);
    caption->setTextFormat(Qt::PlainText);
    layout->addWidget(caption);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    weight->setFocus(Qt::OtherFocusReason);
    weight->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return RecordForm{date->date(), situation->currentText(), weight->text(), fat->text(), comment->text()};
}

int QtDialogs::showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                          const QList<QStringList>& rows, const QString& okText) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("dlgChoice"));
    dialog.setWindowTitle(title);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headers.size()), &dialog);
    table->setObjectName(QStringLiteral("lstChoice"));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size() && c < headers.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    table->resizeColumnsToContents();
    if (!rows.isEmpty())
        table->selectRow(0);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setEnabled(!rows.isEmpty());
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(displayText(prompt), &dialog);
    caption->setTextFormat(Qt::PlainText);
    layout->addWidget(caption);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    dialog.resize(760, 420);
    if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0)
        return -1;
    return table->currentRow();
}

QString QtDialogs::askOpenFileName(const QString& title, const QString& filter) {
    QFileDialog dialog(m_parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    labelFileDialog(dialog, QStringLiteral("場所"), QStringLiteral("開く"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<SaveTarget> QtDialogs::askSaveTarget(const QString& title, const QString& suggestedName,
                                                   const QStringList& types, int defaultType) {
    QFileDialog dialog(m_parent, title, suggestedName);
    dialog.setNameFilters(types);
    if (defaultType >= 0 && defaultType < types.size())
        dialog.selectNameFilter(types.at(defaultType));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggestedName);
    labelFileDialog(dialog, QStringLiteral("保存する場所"), QStringLiteral("保存"));
    const QString suffix = QFileInfo(suggestedName).suffix();
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int type = static_cast<int>(types.indexOf(dialog.selectedNameFilter()));
    return SaveTarget{dialog.selectedFiles().constFirst(), type < 0 ? defaultType : type};
}

std::optional<QString> QtDialogs::showImportPreview(const QString& title, const ImportPreviewForm& form) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("dlgImport"));
    dialog.setWindowTitle(title);
    auto* caption = new QLabel(
        QStringLiteral("「%1」から取り込む内容です。確かめてから「取り込む」を押してください。").arg(form.fileName),
        &dialog);
    caption->setTextFormat(Qt::PlainText);
    caption->setWordWrap(true);
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName(QStringLiteral("txtImportPreview"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* situation = new QComboBox(&dialog);
    situation->setObjectName(QStringLiteral("cboImportSituation"));
    situation->setEditable(true);
    situation->setInsertPolicy(QComboBox::NoInsert);
    situation->addItem(form.defaultSituationName);
    situation->addItems(form.situations);
    situation->setMinimumWidth(320);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("取り込む"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdImportOk"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    // the default choice stands for an empty text; any other text is the situation itself
    const auto chosen = [situation, &form] {
        const QString current = situation->currentText();
        return current == form.defaultSituationName ? QString() : current;
    };
    const auto show = [&] {
        const ImportPreviewText preview = form.describe(chosen());
        text->setPlainText(preview.text);
        ok->setEnabled(preview.canImport);
    };
    // a typed word is previewed once the typing pauses: a large file takes a moment to merge
    QTimer pause;
    pause.setSingleShot(true);
    pause.setInterval(300);
    QObject::connect(&pause, &QTimer::timeout, &dialog, show);
    QObject::connect(situation, &QComboBox::currentTextChanged, &dialog, [&] {
        ok->setEnabled(false);
        pause.start();
    });

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(caption);
    layout->addWidget(text, 1);
    if (form.asksSituation) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("状況のない行の状況"), &dialog));
        row->addWidget(situation, 1);
        layout->addLayout(row);
    } else {
        situation->hide();
    }
    layout->addWidget(buttons);
    dialog.resize(720, 520);
    show();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return chosen();
}

} // namespace puka::ui
