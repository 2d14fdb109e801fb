#include "ui/panels/DiaryPanel.h"

#include "core/edits/DiarySave.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "core/views/DiaryView.h"
#include "ui/AppState.h"
#include "ui/RecordEditor.h"
#include "ui/controls/Dialogs.h"
#include "ui/controls/GridView.h"
#include "ui/controls/Twips.h"
#include "ui/controls/Widgets.h"
#include "ui/panels/PanelHost.h"

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

DiaryPanel::DiaryPanel(AppState& state, PanelHost& host, QWidget* parent) : Panel(state, host, "fraMemo", parent) {
    QHBoxLayout* editRow = buildCommentEditor();
    buildDiaryList();
    QGroupBox* notesBox = buildNotes();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(editRow);
    layout->addWidget(m_diaryList, 3);
    layout->addSpacing(4);
    layout->addWidget(notesBox, 2);

    // each field before its save button
    setTabChain({m_commentField, m_commentSaveButton, m_diaryList, m_notesField, m_notesSaveButton});

    connect(m_diaryList, &GridView::cellClicked, this, &DiaryPanel::onRowClicked);
    connect(m_commentSaveButton, &QPushButton::clicked, this, &DiaryPanel::onCommentSave);
    // Enter stores like the button, but only once a row has been chosen
    connect(m_commentField, &QLineEdit::returnPressed, this, [this] {
        if (m_commentSaveButton->isEnabled())
            onCommentSave();
    });
    connect(m_notesSaveButton, &QPushButton::clicked, this, &DiaryPanel::onNotesSave);
}

QHBoxLayout* DiaryPanel::buildCommentEditor() {
    // the comment editor: caption, field and save button in one row
    auto* caption = new QLabel(QStringLiteral("一言入力欄 →"), this);
    QFont cf = caption->font();
    cf.setBold(true);
    caption->setFont(cf);
    m_commentField = widgets::lineEdit(QStringLiteral("txtMemo"), this);
    m_commentField->setMinimumHeight(scaledPixels(28, this));
    m_commentSaveButton = widgets::pushButton(QStringLiteral("cmdMemoHozon"), QStringLiteral("一言日記保存"), this);
    m_commentSaveButton->setMinimumHeight(scaledPixels(28, this));
    m_commentSaveButton->setEnabled(false);

    auto* editRow = new QHBoxLayout;
    editRow->addWidget(caption);
    editRow->addWidget(m_commentField, 1);
    editRow->addWidget(m_commentSaveButton);
    return editRow;
}

void DiaryPanel::buildDiaryList() {
    m_diaryList = widgets::grid(QStringLiteral("msgMemoList"), this);
    m_diaryList->setModel(diary::emptyDiaryList());
    // the comment column takes the rest of the width, so a long comment is seen whole
    m_diaryList->horizontalHeader()->setStretchLastSection(true);
    m_state.editor->attach(m_diaryList, [this](int gridRow) -> std::optional<logedits::NumberedRecord> {
        if (!m_reading || gridRow < 1 || gridRow > static_cast<int>(m_reading->records.size()))
            return std::nullopt;
        return logedits::NumberedRecord{gridRow, m_reading->records[static_cast<size_t>(gridRow - 1)]};
    });
}

QGroupBox* DiaryPanel::buildNotes() {
    // the notes memo: its save button stands above the field's right end
    auto* notesBox = new QGroupBox(QStringLiteral("気付きメモ"), this);
    notesBox->setObjectName(QStringLiteral("fraKizuki"));
    m_notesField = new QPlainTextEdit(notesBox);
    m_notesField->setObjectName(QStringLiteral("txtKizuki"));
    m_notesField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notesField->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab leaves the memo for the save button instead of writing a tab into it
    m_notesField->setTabChangesFocus(true);
    m_notesField->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #fffdf6; color: #222B38; }"));
    m_notesSaveButton =
        widgets::pushButton(QStringLiteral("cmdKizukiHozon"), QStringLiteral("気付きメモ保存"), notesBox);

    auto* notesTop = new QHBoxLayout;
    notesTop->addStretch(1);
    notesTop->addWidget(m_notesSaveButton);
    auto* notes = new QVBoxLayout(notesBox);
    notes->addLayout(notesTop);
    notes->addWidget(m_notesField, 1);
    return notesBox;
}

void DiaryPanel::open() {
    m_host.hidePanels();
    m_reading = log();
    m_diaryList->setModel(diary::buildDiaryList(SharedRecords(m_reading, &m_reading->records)));
    m_commentSaveButton->setEnabled(false);
    m_row = 0;
    showWithGuidance(diary::guidanceText());
}

void DiaryPanel::refresh() {
    const std::shared_ptr<const LogContents> previous = m_reading;
    m_reading = log();
    m_diaryList->updateModel(diary::buildDiaryList(SharedRecords(m_reading, &m_reading->records)));
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
    m_commentSaveButton->setEnabled(found > 0);
    if (found > 0)
        m_diaryList->setCurrentCell(found, kCommentColumn);
    else
        m_diaryList->selectionModel()->clear();
}

void DiaryPanel::setNotes(const QString& text) {
    m_notesField->setPlainText(text);
}

QString DiaryPanel::notes() const {
    return m_notesField->toPlainText();
}

void DiaryPanel::onRowClicked(int gridRow, int) {
    // the header row holds no measurement
    if (gridRow < 1)
        return;
    m_diaryList->setCurrentCell(gridRow, kCommentColumn);
    m_commentField->setText(m_diaryList->cellText(gridRow, kCommentColumn));
    m_row = gridRow;
    m_commentSaveButton->setEnabled(true);
    m_commentField->setFocus(Qt::OtherFocusReason);
}

void DiaryPanel::onCommentSave() {
    const QString comment = m_commentField->text();
    static const std::vector<WeightRecord> kNone;
    history::Change change;
    change.description = QStringLiteral("一言日記の保存");
    const Status s =
        diary::saveComment(m_state.workDir, m_reading ? m_reading->records : kNone, m_row, comment, &change.log);
    m_host.noteFileWritten(files::kData);
    if (s.inPlace())
        m_state.editor->remember(std::move(change));
    if (!s) {
        showFailure(*m_state.dialogs, s);
        return;
    }
    // the reading shown stays: the save checks measurements, which a comment does not change
    m_diaryList->setCellText(m_row, kCommentColumn, comment);
}

void DiaryPanel::onNotesSave() {
    const QString text = m_notesField->toPlainText();
    const Status s = settings::writeNotes(m_state.workDir, text);
    m_host.noteFileWritten(files::kNotes);
    if (!s) {
        showFailure(*m_state.dialogs, s);
        return;
    }
    m_state.notesText = text;
}

} // namespace puka::ui
