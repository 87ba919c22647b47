#include "app/app_setup.h"
#include "app/main_window.h"
#include "app/widget_probe.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quor::setUpApplication(app);
    quor::frmQuorMain w;
    w.show();
    quor::startWidgetProbe(&w);
    return app.exec();
}
