#pragma once

#include "PageSink.h"

#include <QList>
#include <QSize>

namespace puka::ui {

/// A page that records what is printed on it, for tests of a printout's layout.
/// Text is measured in character columns: a full-width character takes two columns,
/// any other character one, each column averageCharWidth twips wide.
class RecordingPageSink : public PageSink {
public:
    struct Op {
        enum class Kind { Text, Picture, NewPage, EndDoc };
        Kind kind = Kind::Text;
        int x = 0; ///< twips
        int y = 0; ///< twips
        QString text;
        int width = 0;     ///< twips, pictures only
        int height = 0;    ///< twips, pictures only
        QSize pictureSize; ///< the picture's own size in pixels
        int page = 0;      ///< counted from 0
    };

    /// @p pageHeightTwips 0 gives one page without end.
    explicit RecordingPageSink(int averageCharTwips = 100, int lineHeightTwips = 240, int pageHeightTwips = 0);

    /// Every operation in order.
    const QList<Op>& ops() const { return m_ops; }
    /// The text operations only.
    QList<Op> texts() const;
    /// The pictures only.
    QList<Op> pictures() const;
    int pageCount() const { return m_page + 1; }

    int textWidth(const QString& text) const override;
    int lineHeight() const override { return m_lineHeight; }
    int averageCharWidth() const override { return m_charWidth; }

protected:
    int pageHeight() const override { return m_pageHeight; }
    void newPage() override;
    void putText(int xTwips, int yTwips, const QString& text) override;
    void putPicture(const QPixmap& picture, const QRect& twips) override;
    bool finish() override;

private:
    QList<Op> opsOf(Op::Kind kind) const;

    int m_charWidth;
    int m_lineHeight;
    int m_pageHeight;
    int m_page = 0;
    QList<Op> m_ops;
};

} // namespace puka::ui
