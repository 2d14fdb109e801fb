#pragma once

#include <QWidget>

class QLabel;

namespace puka::ui {

/// The five coloured BMI bands from 17 to 32 with a pointer picture above them, placed by the
/// BMI: the pointer's left edge lies (24 − BMI) × scale + 240 twips left of the yellow band.
class BmiScale : public QWidget {
    Q_OBJECT
public:
    /// @p scaleTwips twips per BMI point; @p pointerName the pointer's object name (Image1, Image2).
    BmiScale(int scaleTwips, const QString& pointerName, QWidget* parent = nullptr);

    /// Moves the pointer to @p bmi (clamped to 17..32).
    void placePointer(float bmi);
    /// The pointer's left edge in twips from the widget's left edge.
    int pointerLeftTwips() const { return m_pointerLeft; }
    QLabel* pointer() const { return m_pointer; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int bandLeftTwips() const;
    int yellowLeftTwips() const { return bandLeftTwips() + 7 * m_scale; }
    void movePointer();

    int m_scale;
    int m_pointerLeft = 0;
    QLabel* m_pointer;
};

} // namespace puka::ui
