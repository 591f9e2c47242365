// The business-directory library "Varlink", loaded by file name and bound by name at the
// first call of each entry point (the contract is in VarlinkAbi.h). A library or entry point
// that cannot be had makes its calls fail quietly: a submit finds nothing, isDone() says
// done, getNext() gives nothing. The business search shows no message for them.
#pragma once

#include <QLibrary>
#include <QString>
#include <optional>

#include "VarlinkAbi.h"

class Varlink {
public:
    // `path` "" is the default: $TELVIA_VARLINK when set, else "Varlink.so" in the program
    // folder.
    explicit Varlink(const QString& path = {});
    Varlink(const Varlink&) = delete;
    Varlink& operator=(const Varlink&) = delete;

    QString fileName() const { return m_library.fileName(); }

    // The submits pass each string as a CP949 copy and read it back after the call, so a
    // text the library rewrote comes back rewritten. 0 when the call cannot be made.
    qint32 comClickSubmit(QString& companyName, QString& state, QString& regionCode);
    qint32 comRetSubmit(QString& companyName, QString& state, QString& regionCode);
    bool isDone();
    // The next record as text; nullopt when the library gives none.
    std::optional<QString> getNext();

private:
    qint32 submit(const char* name, VarlinkSubmitFn& entry, QString& companyName, QString& state,
                  QString& regionCode);
    template <typename Fn>
    bool bind(const char* name, Fn& entry);

    QLibrary m_library;
    VarlinkSubmitFn m_comClickSubmit = nullptr;
    VarlinkSubmitFn m_comRetSubmit = nullptr;
    VarlinkIsDoneFn m_isDone = nullptr;
    VarlinkGetNextFn m_getNext = nullptr;
};
