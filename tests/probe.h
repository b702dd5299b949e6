#pragma once

#include "mainwindow.h"

// Read access to the controller's state for the tests.
class MainWindowProbe
{
public:
    explicit MainWindowProbe(MainWindow &w) : w(w) {}
    QSerialPort &serial() { return w.serial; }
    const QString &answer() const { return w.answer; }
    bool resetPending() const { return w.resetPending; }
    bool moduleResponded() const { return w.moduleResponded; }
    int scanAllStep() const { return w.scanAllStep; }
    int writeAllStep() const { return w.writeAllStep; }

private:
    MainWindow &w;
};
