#include "QtClipboard.h"

#include "AppError.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

static QClipboard &systemClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw AppError(QStringLiteral("Gli appunti di sistema non sono disponibili."));
    return *clipboard;
}

void QtClipboard::clear()
{
    systemClipboard().clear();
}

void QtClipboard::setImage(const QImage &image)
{
    if (image.isNull())
        throw AppError(QStringLiteral("Nessuna immagine da copiare negli appunti."));
    systemClipboard().setImage(image);
}
