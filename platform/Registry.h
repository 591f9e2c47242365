// The registry values the program reads, answered from what the desktop knows. Only
// HKEY_CURRENT_CONFIG "Display\Settings" "DPIPhysicalY" exists: the primary screen's
// physical vertical dots per inch (QScreen), as decimal text. Everything else is missing.
#pragma once

#include <QString>
#include <optional>

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// true and the value as text on success; false and "" when the key or value is missing.
bool ReadRegistryValue(RegistryRoot root, const QString& subkey, const QString& valueName,
                       QString& value);

// For tests: while it lives, "DPIPhysicalY" reads as `value`, or as missing for nullopt.
class RegistryDpiOverride {
public:
    explicit RegistryDpiOverride(std::optional<QString> value);
    ~RegistryDpiOverride();
    RegistryDpiOverride(const RegistryDpiOverride&) = delete;
    RegistryDpiOverride& operator=(const RegistryDpiOverride&) = delete;

private:
    bool m_hadPrevious;
    std::optional<QString> m_previous;
};
