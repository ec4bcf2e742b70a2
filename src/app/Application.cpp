#include "Application.h"

#include "DesignStyle.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QPalette>
#include <QTranslator>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace Application {

void setUp(QApplication &app)
{
    initResources();
    app.setApplicationName(QStringLiteral("Pittorello 1"));
    // The Wayland app id: how the desktop pairs the window with its menu entry and icon.
    app.setDesktopFileName(QStringLiteral("org.pittorello.Pittorello"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // The desktop's colours stay, from its theme or from the style the user
    // set; only where that style gave them are they set anew.
    QPalette desktop = QApplication::palette();
    QApplication::setStyle(new DesignStyle);
    if (QApplication::palette() != desktop) {
        desktop.setResolveMask(~QPalette::ResolveMask());
        QApplication::setPalette(desktop);
    }

    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Serif"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace Application
