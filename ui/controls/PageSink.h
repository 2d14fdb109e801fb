#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

namespace puka::ui {

/// A printed page as the panels write it: a current position in twips (1/1440 inch) from the
/// top left of the printable area, text lines that move the position down, print zones every
/// 14 average character widths, and pictures at given places. Implementations supply the
/// device; the position rules live here so that every device follows them alike.
class PageSink {
public:
    /// Print zones begin every this many character columns from the left margin.
    static constexpr int kZoneColumns = 14;

    virtual ~PageSink() = default;

    void setX(int twips) { m_x = twips; }
    void setY(int twips) { m_y = twips; }
    int currentX() const { return m_x; }
    int currentY() const { return m_y; }

    /// Prints @p text at the current position and stays on the line, after the text.
    void print(const QString& text);
    /// Prints @p text at the current position and moves to the start of the next line.
    void printLine(const QString& text = QString());
    /// Prints the first item at the current position and each further item at the next print
    /// zone after the text before it (a zone starts every zoneWidth() twips from the left
    /// margin), then moves to the start of the next line.
    void printZones(const QStringList& items);
    /// Draws @p picture scaled into the given rectangle; the text position does not move.
    void drawPicture(const QPixmap& picture, int xTwips, int yTwips, int widthTwips, int heightTwips);
    /// Draws @p picture at its own size: its device-independent pixels at the screen's resolution.
    void drawPicture(const QPixmap& picture, int xTwips, int yTwips);
    /// Ends the document and sends it to its device; false when the device reports a failure.
    /// Nothing can be printed afterwards.
    bool endDocument();
    bool ended() const { return m_ended; }

    int zoneWidth() const { return kZoneColumns * averageCharacterWidth(); }
    /// The width of @p text in twips in the page's font.
    virtual int textWidth(const QString& text) const = 0;
    /// The distance from one line to the next in twips.
    virtual int lineHeight() const = 0;
    /// One character column in twips.
    virtual int averageCharacterWidth() const = 0;

protected:
    /// The height of the printable area in twips, or 0 for a page without end.
    virtual int pageHeight() const = 0;
    virtual void newPage() = 0;
    /// Puts @p text with its top at (x, y).
    virtual void putText(int xTwips, int yTwips, const QString& text) = 0;
    virtual void putPicture(const QPixmap& picture, const QRect& twips) = 0;
    virtual bool finish() = 0;

private:
    void breakPageIfFull();

    int m_x = 0;
    int m_y = 0;
    bool m_ended = false;
};

} // namespace puka::ui
