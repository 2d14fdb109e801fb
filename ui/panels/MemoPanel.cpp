#include "MemoPanel.h"

#include "AppState.h"
#include "DataLog.h"
#include "DiarySave.h"
#include "DiaryView.h"
#include "PanelHost.h"
#include "RecordEditor.h"
#include "Settings.h"
#include "controls/Dialogs.h"
#include "controls/GridView.h"
#include "controls/Twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace puka::ui {
namespace {

constexpr int kCommentColumn = 7;

} // namespace

MemoPanel::MemoPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraMemo", parent) {
    // the comment editor: caption, field and save button in one row
    auto* caption = new QLabel(QStringLiteral("一言入力欄 →"), this);
    QFont cf = caption->font();
    cf.setBold(true);
    caption->setFont(cf);
    txtMemo = new QLineEdit(this);
    txtMemo->setObjectName(QStringLiteral("txtMemo"));
    txtMemo->setMinimumHeight(scaledPixels(28, this));
    cmdMemoHozon = new QPushButton(QStringLiteral("一言日記保存"), this);
    cmdMemoHozon->setObjectName(QStringLiteral("cmdMemoHozon"));
    cmdMemoHozon->setMinimumHeight(scaledPixels(28, this));
    cmdMemoHozon->setEnabled(false);

    msgMemoList = new GridView(this);
    msgMemoList->setObjectName(QStringLiteral("msgMemoList"));
    msgMemoList->setModel(diary::SET_MEMO_GRID());
    // the comment column takes the rest of the width, so a long comment is seen whole
    msgMemoList->horizontalHeader()->setStretchLastSection(true);
    m_state.editor->attach(msgMemoList, [this](int gridRow) -> std::optional<logedits::NumberedRecord> {
        if (gridRow < 1 || gridRow > static_cast<int>(m_shown.size()))
            return std::nullopt;
        return logedits::NumberedRecord{gridRow, m_shown[static_cast<size_t>(gridRow - 1)]};
    });

    // the notes memo: its save button stands above the field's right end
    auto* notesBox = new QGroupBox(QStringLiteral("気付きメモ"), this);
    notesBox->setObjectName(QStringLiteral("fraKizuki"));
    txtKizuki = new QPlainTextEdit(notesBox);
    txtKizuki->setObjectName(QStringLiteral("txtKizuki"));
    txtKizuki->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtKizuki->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab leaves the memo for the save button instead of writing a tab into it
    txtKizuki->setTabChangesFocus(true);
    txtKizuki->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #fffdf6; color: #222B38; }"));
    cmdKizukiHozon = new QPushButton(QStringLiteral("気付きメモ保存"), notesBox);
    cmdKizukiHozon->setObjectName(QStringLiteral("cmdKizukiHozon"));

    auto* editRow = new QHBoxLayout;
    editRow->addWidget(caption);
    editRow->addWidget(txtMemo, 1);
    editRow->addWidget(cmdMemoHozon);

    auto* notesTop = new QHBoxLayout;
    notesTop->addStretch(1);
    notesTop->addWidget(cmdKizukiHozon);
    auto* notes = new QVBoxLayout(notesBox);
    notes->addLayout(notesTop);
    notes->addWidget(txtKizuki, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(editRow);
    layout->addWidget(msgMemoList, 3);
    layout->addSpacing(4);
    layout->addWidget(notesBox, 2);

    // each field before its save button
    setTabChain({txtMemo, cmdMemoHozon, msgMemoList, txtKizuki, cmdKizukiHozon});

    connect(msgMemoList, &GridView::cellClicked, this, &MemoPanel::onRowClicked);
    connect(cmdMemoHozon, &QPushButton::clicked, this, &MemoPanel::onCommentSave);
    // Enter stores like the button, but only once a row has been chosen
    connect(txtMemo, &QLineEdit::returnPressed, this, [this] {
        if (cmdMemoHozon->isEnabled())
            onCommentSave();
    });
    connect(cmdKizukiHozon, &QPushButton::clicked, this, &MemoPanel::onNotesSave);
}

void MemoPanel::open() {
    m_host.HIDE_PANELS();
    DSP_MEMO();
    showWithGuidance(diary::guidanceText());
}

void MemoPanel::DSP_MEMO() {
    m_shown = datalog::READ_DATA(m_state.workDir).records;
    msgMemoList->setModel(diary::DSP_MEMO(m_shown));
    cmdMemoHozon->setEnabled(false);
    m_row = 0;
}

void MemoPanel::showChangedLog() {
    const int top = msgMemoList->topRow();
    DSP_MEMO();
    msgMemoList->scrollToRow(top);
}

void MemoPanel::setNotes(const QString& text) {
    txtKizuki->setPlainText(text);
}

void MemoPanel::onRowClicked(int gridRow, int) {
    // the header row holds no measurement
    if (gridRow < 1)
        return;
    msgMemoList->setCurrentCell(gridRow, kCommentColumn);
    txtMemo->setText(msgMemoList->cellText(gridRow, kCommentColumn));
    m_row = gridRow;
    cmdMemoHozon->setEnabled(true);
    txtMemo->setFocus(Qt::OtherFocusReason);
}

void MemoPanel::onCommentSave() {
    const QString comment = txtMemo->text();
    history::Change change;
    change.description = QStringLiteral("一言日記の保存");
    const Status s = diary::saveComment(m_state.workDir, m_shown, m_row, comment, &change.log);
    if (s.inPlace())
        m_state.editor->remember(std::move(change));
    if (!s) {
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        return;
    }
    msgMemoList->setCellText(m_row, kCommentColumn, comment);
    m_shown[static_cast<size_t>(m_row - 1)].comment = comment;
}

void MemoPanel::onNotesSave() {
    const QString text = txtKizuki->toPlainText();
    const Status s = settings::WRITE_KIZUKI(m_state.workDir, text);
    if (!s) {
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        return;
    }
    m_state.notesText = text;
}

} // namespace puka::ui
