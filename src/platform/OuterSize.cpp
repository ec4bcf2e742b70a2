#include "OuterSize.h"

#include "AppError.h"
#include "Twips.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QTimer>
#include <cmath>
#include <optional>

namespace OuterSize {

namespace {

const char requestName[] = "OuterSize::Request";
constexpr float frameWidth = 90, frameHeight = 660;

int clientPixels(float twips, float frame)
{
    const double px = std::nearbyint(Twips::toPixels(double(twips) - frame));
    if (!(px >= 1 && px <= QWIDGETSIZE_MAX))
        throw AppError(QStringLiteral("Valore della proprietà non valido: dimensione %1.").arg(double(twips)));
    return int(px);
}

const QWidget &clientArea(const QWidget &window)
{
    const auto *main = qobject_cast<const QMainWindow *>(&window);
    return main && main->centralWidget() ? *main->centralWidget() : window;
}

// The sizes last asked of a window, kept on the window, which also puts the
// window back whenever something else resizes it.
class Request : public QObject
{
public:
    explicit Request(QWidget &window) : QObject(&window), m_window(window)
    {
        setObjectName(QLatin1String(requestName));
        window.installEventFilter(this);
    }

    std::optional<float> width, height;

    void apply()
    {
        // The menu bar's height, or whatever else surrounds the client area.
        if (QLayout *layout = m_window.layout())
            layout->activate();
        const QSize around = m_window.size() - clientArea(m_window).size();
        QSize size = m_window.size();
        if (width)
            size.setWidth(clientPixels(*width, frameWidth) + around.width());
        if (height)
            size.setHeight(clientPixels(*height, frameHeight) + around.height());
        m_window.setFixedSize(size);
        // Handlers read the client area right after setting the size.
        if (QLayout *layout = m_window.layout())
            layout->activate();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && m_window.size() != m_window.minimumSize())
            // Never from inside the resize itself.
            QTimer::singleShot(0, this, [this] { m_window.resize(m_window.minimumSize()); });
        return false;
    }

private:
    QWidget &m_window;
};

Request *find(const QWidget &window)
{
    return dynamic_cast<Request *>(
        window.findChild<QObject *>(QLatin1String(requestName), Qt::FindDirectChildrenOnly));
}

Request &request(QWidget &window)
{
    Request *found = find(window);
    return found ? *found : *new Request(window);
}

float readBack(const std::optional<float> &set, float frame, int real)
{
    return set && clientPixels(*set, frame) == real ? *set : Twips::fromPixels(real) + frame;
}

} // namespace

float width(const QWidget &window)
{
    const Request *r = find(window);
    return readBack(r ? r->width : std::nullopt, frameWidth, clientArea(window).width());
}

float height(const QWidget &window)
{
    const Request *r = find(window);
    return readBack(r ? r->height : std::nullopt, frameHeight, clientArea(window).height());
}

void setWidth(QWidget &window, float twips)
{
    clientPixels(twips, frameWidth);
    Request &r = request(window);
    r.width = twips;
    r.apply();
}

void setHeight(QWidget &window, float twips)
{
    clientPixels(twips, frameHeight);
    Request &r = request(window);
    r.height = twips;
    r.apply();
}

} // namespace OuterSize
