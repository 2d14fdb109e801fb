#pragma once

#include "ui/controls/PageSink.h"

#include <QList>
#include <QSize>

namespace puka::ui {

/// A page that records what is printed on it, for tests of a printout's layout.
/// Text is measured in character columns: a full-width character takes two columns,
/// any other character one, each column averageCharacterWidth twips wide.
class RecordingPageSink : public PageSink {
public:
    struct Operation {
        enum class Kind { Text, Picture, NewPage, EndDocument };
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
    explicit RecordingPageSink(int averageCharacterTwips = 100, int lineHeightTwips = 240, int pageHeightTwips = 0);

    /// Every operation in order.
    const QList<Operation>& operations() const { return m_operations; }
    /// The text operations only.
    QList<Operation> texts() const;
    /// The pictures only.
    QList<Operation> pictures() const;
    int pageCount() const { return m_page + 1; }

    int textWidth(const QString& text) const override;
    int lineHeight() const override { return m_lineHeight; }
    int averageCharacterWidth() const override { return m_characterWidth; }

protected:
    int pageHeight() const override { return m_pageHeight; }
    void newPage() override;
    void putText(int xTwips, int yTwips, const QString& text) override;
    void putPicture(const QPixmap& picture, const QRect& twips) override;
    bool finish() override;

private:
    QList<Operation> operationsOf(Operation::Kind kind) const;

    int m_characterWidth;
    int m_lineHeight;
    int m_pageHeight;
    int m_page = 0;
    QList<Operation> m_operations;
};

} // namespace puka::ui
