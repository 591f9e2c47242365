#include "Varlink.h"

#include <cstdlib>
#include <vector>

#include "Cp949Text.h"
#include "ProgramFolder.h"

namespace {

// A NUL-terminated CP949 copy that the library may overwrite up to its length.
class Buffer {
public:
    explicit Buffer(const QString& text) {
        const QByteArray bytes = toCp949(text);
        m_bytes.assign(bytes.begin(), bytes.end());
        m_bytes.push_back('\0');
    }
    char* data() { return m_bytes.data(); }
    // What the buffer holds now, up to its first NUL.
    QString text() const {
        m_bytes.back() = '\0';
        return fromCp949(QByteArray(m_bytes.data()));
    }

private:
    mutable std::vector<char> m_bytes;
};

QString defaultPath() {
    const QString configured = qEnvironmentVariable("TELVIA_VARLINK");
    return configured.isEmpty() ? programFolder() + QStringLiteral("Varlink.so") : configured;
}

}  // namespace

Varlink::Varlink(const QString& path) : m_library(path.isEmpty() ? defaultPath() : path) {}

template <typename Fn>
bool Varlink::bind(const char* name, Fn& entry) {
    if (!entry) entry = reinterpret_cast<Fn>(m_library.resolve(name));
    return entry != nullptr;
}

qint32 Varlink::submit(const char* name, VarlinkSubmitFn& entry, QString& companyName,
                       QString& state, QString& regionCode) {
    if (!bind(name, entry)) return 0;
    Buffer company(companyName), words(state), region(regionCode);
    const qint32 found = entry(company.data(), words.data(), region.data());
    companyName = company.text();
    state = words.text();
    regionCode = region.text();
    return found;
}

qint32 Varlink::comClickSubmit(QString& companyName, QString& state, QString& regionCode) {
    return submit("comClickSubmit", m_comClickSubmit, companyName, state, regionCode);
}

qint32 Varlink::comRetSubmit(QString& companyName, QString& state, QString& regionCode) {
    return submit("comRetSubmit", m_comRetSubmit, companyName, state, regionCode);
}

bool Varlink::isDone() {
    return !bind("isDone", m_isDone) || m_isDone() != 0;
}

std::optional<QString> Varlink::getNext() {
    if (!bind("getNext", m_getNext)) return std::nullopt;
    char* record = m_getNext();
    if (!record) return std::nullopt;
    const QString text = fromCp949(QByteArray(record));
    std::free(record);
    return text;
}
