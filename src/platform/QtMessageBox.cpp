#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBox::show(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pittorello 1"), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
