#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keyvane"));
    QLabel window(QStringLiteral("Keyvane 2.1"));
    window.setWindowTitle(QStringLiteral("Keyvane"));
    window.resize(480, 240);
    window.show();
    return app.exec();
}
