#include "ui/controls/RecordingPageSink.h"

namespace puka::ui {
namespace {

// Characters a Japanese text layout sets at full width.
bool isFullWidth(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

RecordingPageSink::RecordingPageSink(int averageCharacterTwips, int lineHeightTwips, int pageHeightTwips)
    : m_characterWidth(averageCharacterTwips), m_lineHeight(lineHeightTwips), m_pageHeight(pageHeightTwips) {}

int RecordingPageSink::textWidth(const QString& text) const {
    int columns = 0;
    for (char32_t c : text.toUcs4())
        columns += isFullWidth(c) ? 2 : 1;
    return columns * m_characterWidth;
}

void RecordingPageSink::newPage() {
    Operation op;
    op.kind = Operation::Kind::NewPage;
    op.page = ++m_page;
    m_operations.append(op);
}

void RecordingPageSink::putText(int xTwips, int yTwips, const QString& text) {
    Operation op;
    op.kind = Operation::Kind::Text;
    op.x = xTwips;
    op.y = yTwips;
    op.text = text;
    op.page = m_page;
    m_operations.append(op);
}

void RecordingPageSink::putPicture(const QPixmap& picture, const QRect& twips) {
    Operation op;
    op.kind = Operation::Kind::Picture;
    op.x = twips.x();
    op.y = twips.y();
    op.width = twips.width();
    op.height = twips.height();
    op.pictureSize = picture.size();
    op.page = m_page;
    m_operations.append(op);
}

bool RecordingPageSink::finish() {
    Operation op;
    op.kind = Operation::Kind::EndDocument;
    op.page = m_page;
    m_operations.append(op);
    return true;
}

QList<RecordingPageSink::Operation> RecordingPageSink::operationsOf(Operation::Kind kind) const {
    QList<Operation> found;
    for (const Operation& op : m_operations)
        if (op.kind == kind)
            found.append(op);
    return found;
}

QList<RecordingPageSink::Operation> RecordingPageSink::texts() const {
    return operationsOf(Operation::Kind::Text);
}

QList<RecordingPageSink::Operation> RecordingPageSink::pictures() const {
    return operationsOf(Operation::Kind::Picture);
}

} // namespace puka::ui
