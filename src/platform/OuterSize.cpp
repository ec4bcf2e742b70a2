#include "OuterSize.h"

#include "AppError.h"
#include "Twips.h"

#include <QWidget>
#include <cmath>

namespace OuterSize {

namespace {

int pixels(float twips)
{
    const double px = std::nearbyint(Twips::toPixels(twips));
    if (!(px >= 1 && px <= QWIDGETSIZE_MAX))
        throw AppError(QStringLiteral("Valore della proprietà non valido: dimensione %1.").arg(double(twips)));
    return int(px);
}

int frameWidth(const QWidget &w) { return w.frameGeometry().width() - w.width(); }
int frameHeight(const QWidget &w) { return w.frameGeometry().height() - w.height(); }

} // namespace

float width(const QWidget &window)
{
    return Twips::fromPixels(window.frameGeometry().width());
}

float height(const QWidget &window)
{
    return Twips::fromPixels(window.frameGeometry().height());
}

void setWidth(QWidget &window, float twips)
{
    window.setFixedWidth(std::max(1, pixels(twips) - frameWidth(window)));
}

void setHeight(QWidget &window, float twips)
{
    window.setFixedHeight(std::max(1, pixels(twips) - frameHeight(window)));
}

} // namespace OuterSize
