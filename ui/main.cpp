#include "platform/gui/QtMessageBox.h"
#include "platform/gui/SysColor.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallQtMessageBox();
    ApplySysColorPalette();
    std::puts("veltrano: the wall control core and the framework layer are built; the operator interface is not "
              "built yet.");
    return 0;
}
