#include "ui/panels/BmiScale.h"

#include "core/views/BmiMeter.h"
#include "ui/controls/Twips.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>

namespace puka::ui {
namespace {

constexpr int kPointerTwips = 480;
constexpr int kBandHeightTwips = 200;

struct Band {
    float from;
    float to;
    QColor colour;
};

const Band kBands[] = {
    {17.0f, 20.0f, QColor(0, 255, 255)}, {20.0f, 24.0f, QColor(0, 255, 0)}, {24.0f, 26.4f, QColor(255, 255, 0)},
    {26.4f, 30.0f, QColor(255, 0, 255)}, {30.0f, 32.0f, QColor(255, 0, 0)},
};

} // namespace

BmiScale::BmiScale(int scaleTwips, const QString& pointerName, QWidget* parent)
    : QWidget(parent), m_scale(scaleTwips), m_pointer(new QLabel(this)) {
    m_pointer->setObjectName(pointerName);
    const int size = twipsToPixels(kPointerTwips, this);
    m_pointer->setPixmap(QIcon(QStringLiteral(":/pictures/meter/%1.svg").arg(pointerName)).pixmap(size, size));
    m_pointer->setFixedSize(size, size);
    setMinimumSize(sizeHint());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    placePointer(22.0f);
}

QSize BmiScale::sizeHint() const {
    const int width = twipsToPixels(2 * kPointerTwips / 2 + 15 * m_scale, this) + 2;
    const int height = twipsToPixels(kPointerTwips + kBandHeightTwips, this) + 4;
    return {width, height};
}

int BmiScale::bandLeftTwips() const {
    return kPointerTwips / 2;
}

void BmiScale::placePointer(float bmi) {
    m_pointerLeft = BmiMeter::pointerLeft(bmi, m_scale, yellowLeftTwips());
    movePointer();
}

void BmiScale::movePointer() {
    m_pointer->move(twipsToPixels(m_pointerLeft, this), 0);
}

void BmiScale::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    movePointer();
}

void BmiScale::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int top = twipsToPixels(kPointerTwips, this);
    const int height = twipsToPixels(kBandHeightTwips, this);
    for (const Band& b : kBands) {
        const int x0 = twipsToPixels(bandLeftTwips() + static_cast<int>((b.from - 17.0f) * m_scale), this);
        const int x1 = twipsToPixels(bandLeftTwips() + static_cast<int>((b.to - 17.0f) * m_scale), this);
        p.fillRect(QRect(x0, top, x1 - x0, height), b.colour);
    }
    p.setPen(QColor(0x4B, 0x3F, 0x5E));
    const int x0 = twipsToPixels(bandLeftTwips(), this);
    const int x1 = twipsToPixels(bandLeftTwips() + 15 * m_scale, this);
    p.drawRect(QRect(x0, top, x1 - x0 - 1, height - 1));
}

} // namespace puka::ui
