#include "MemoPanel.h"

#include "AppState.h"
#include "DataLog.h"
#include "DiarySave.h"
#include "DiaryView.h"
#include "FileNames.h"
#include "PanelHost.h"
#include "RecordEditor.h"
#include "Settings.h"
#include "controls/Dialogs.h"
#include "controls/GridView.h"
#include "controls/Twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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
        if (!m_reading || gridRow < 1 || gridRow > static_cast<int>(m_reading->records.size()))
            return std::nullopt;
        return logedits::NumberedRecord{gridRow, m_reading->records[static_cast<size_t>(gridRow - 1)]};
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
    m_reading = log();
    msgMemoList->setModel(diary::DSP_MEMO(SharedRecords(m_reading, &m_reading->records)));
    cmdMemoHozon->setEnabled(false);
    m_row = 0;
    showWithGuidance(diary::guidanceText());
}

void MemoPanel::refresh() {
    const std::shared_ptr<const LogContents> previous = m_reading;
    m_reading = log();
    msgMemoList->updateModel(diary::DSP_MEMO(SharedRecords(m_reading, &m_reading->records)));
    if (m_row < 1 || !previous)
        return;
    // the chosen measurement where the log holds it now: at its place, or the nearest like it
    const WeightRecord& chosen = previous->records[static_cast<size_t>(m_row - 1)];
    const auto same = [&chosen](const WeightRecord& r) {
        return r.date == chosen.date && r.situation == chosen.situation && r.weight == chosen.weight &&
               r.bodyFat == chosen.bodyFat;
    };
    const std::vector<WeightRecord>& now = m_reading->records;
    int found = 0;
    const int last = static_cast<int>(now.size());
    for (int distance = 0; found == 0 && distance <= std::max(m_row, last); ++distance) {
        for (const int row : {m_row - distance, m_row + distance}) {
            if (row >= 1 && row <= static_cast<int>(now.size()) && same(now[static_cast<size_t>(row - 1)])) {
                found = row;
                break;
            }
        }
    }
    m_row = found;
    cmdMemoHozon->setEnabled(found > 0);
    if (found > 0)
        msgMemoList->setCurrentCell(found, kCommentColumn);
    else
        msgMemoList->selectionModel()->clear();
}

void MemoPanel::setNotes(const QString& text) {
    txtKizuki->setPlainText(text);
}

QString MemoPanel::notes() const {
    return txtKizuki->toPlainText();
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
    static const std::vector<WeightRecord> kNone;
    history::Change change;
    change.description = QStringLiteral("一言日記の保存");
    const Status s =
        diary::saveComment(m_state.workDir, m_reading ? m_reading->records : kNone, m_row, comment, &change.log);
    m_host.noteFileWritten(files::kData);
    if (s.inPlace())
        m_state.editor->remember(std::move(change));
    if (!s) {
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        return;
    }
    // the reading shown stays: the save checks measurements, which a comment does not change
    msgMemoList->setCellText(m_row, kCommentColumn, comment);
}

void MemoPanel::onNotesSave() {
    const QString text = txtKizuki->toPlainText();
    const Status s = settings::WRITE_KIZUKI(m_state.workDir, text);
    m_host.noteFileWritten(files::kNotes);
    if (!s) {
        m_state.dialogs->message(s.message(), QStringLiteral("保存エラー"), Dialogs::Icon::Critical);
        return;
    }
    m_state.notesText = text;
}

} // namespace puka::ui
