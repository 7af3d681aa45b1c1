#include "Form2.h"

#include "TwipsGeometry.h"

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("K8055 Demo"));
    twips::resizeClient(this, 9000, 6000);
}
