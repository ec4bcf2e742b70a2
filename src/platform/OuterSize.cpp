#include "OuterSize.h"

#include "AppError.h"
#include "Twips.h"

#include <QLayout>
#include <QMainWindow>
#include <cmath>

namespace {

constexpr float frameWidth = 90, frameHeight = 660;

int clientPixels(float twips, float frame)
{
    const double px = std::nearbyint(Twips::toPixels(double(twips) - frame));
    if (!(px >= 1 && px <= QWIDGETSIZE_MAX))
        throw AppError(QStringLiteral("Valore della proprietà non valido: dimensione %1.").arg(double(twips)));
    return int(px);
}

float readBack(const std::optional<float> &set, float frame, int real)
{
    return set && clientPixels(*set, frame) == real ? *set : Twips::fromPixels(real) + frame;
}

const QWidget &clientArea(const QMainWindow &window)
{
    return window.centralWidget() ? *window.centralWidget() : static_cast<const QWidget &>(window);
}

} // namespace

float OuterSize::width() const
{
    return readBack(m_width, frameWidth, clientArea(m_window).width());
}

float OuterSize::height() const
{
    return readBack(m_height, frameHeight, clientArea(m_window).height());
}

void OuterSize::setWidth(float twips)
{
    clientPixels(twips, frameWidth);
    m_width = twips;
    apply();
}

void OuterSize::setHeight(float twips)
{
    clientPixels(twips, frameHeight);
    m_height = twips;
    apply();
}

void OuterSize::apply()
{
    // The menu bar's height, and whatever else surrounds the client area.
    m_window.layout()->activate();
    const QSize around = m_window.size() - clientArea(m_window).size();
    QSize size = m_window.size();
    if (m_width)
        size.setWidth(clientPixels(*m_width, frameWidth) + around.width());
    if (m_height)
        size.setHeight(clientPixels(*m_height, frameHeight) + around.height());
    m_window.setFixedSize(size);
    // Handlers read the client area right after setting the size.
    m_window.layout()->activate();
}
