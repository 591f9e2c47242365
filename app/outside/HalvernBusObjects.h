// The objects HalvernBus exports: each slot is one operation of the bus interface, taken
// off the bus and queued for the window thread with a delayed reply.
#pragma once

#include <QDBusContext>
#include <QObject>

#include "HalvernBus.h"

class MainWindowBusObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.telvia.Halvern.frmMain")
public:
    MainWindowBusObject(HalvernBus& bus, MainOperations operations)
        : QObject(&bus), m_bus(bus), m_operations(std::move(operations)) {}

    void setOperations(MainOperations operations) { m_operations = std::move(operations); }

public slots:
    void enSubmitClickMulti(const QString& comName, const QString& DongCode);
    void enMnuStandardSearchClick();

private:
    HalvernBus& m_bus;
    MainOperations m_operations;
};

class MemoWindowBusObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.telvia.Halvern.frmMemo")
public:
    MemoWindowBusObject(HalvernBus& bus, MemoOperations operations)
        : QObject(&bus), m_bus(bus), m_operations(std::move(operations)) {}

    void setOperations(MemoOperations operations) { m_operations = std::move(operations); }

public slots:
    void exLoadMemo(const QString& eTableName);
    int enSaveMemo(const QString& eTableName, bool flgDup);

private:
    HalvernBus& m_bus;
    MemoOperations m_operations;
};
