// The baseline of the start-up benchmark on X: the least a Qt Widgets
// program does to put a window on the screen.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("A bare Qt window"));
    label.setWindowTitle(QStringLiteral("bare Qt window"));
    label.resize(320, 120);
    label.show();
    return QApplication::exec();
}
