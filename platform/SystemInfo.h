#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class Messages;
class QWidget;

// The about box finds the system information tool through two registry-style
// values. The look-up sits behind an interface so tests (and platforms
// without a registry) can supply their own values.

// Registry roots, numbered as the Windows API numbers them.
namespace KeyRoot {
inline constexpr std::uint32_t LocalMachine = 0x80000002u;
}

// A value as a registry holds it.
struct KeyValue {
    enum class Type { String, DWord, Other };
    Type type = Type::Other;
    QString text;              // Type::String (may end in its terminating zero)
    std::uint32_t number = 0;  // Type::DWord
};

class KeyValueSource {
public:
    virtual ~KeyValueSource() = default;
    // Empty when the key or the value does not exist or cannot be read.
    virtual std::optional<KeyValue> lookup(std::uint32_t root, const QString& keyName,
                                           const QString& valueName) const = 0;
};

// Reads one value: a string as it is (without its terminating zero), a 32-bit
// number as "&h" and eight hex digits. Returns false and an empty keyVal when
// the value cannot be read; a value of another type leaves keyVal untouched.
bool GetKeyValue(const KeyValueSource& source, std::uint32_t root, const QString& keyName,
                 const QString& subKeyRef, QString& keyVal);

// Starting programs and probing files, replaceable in tests.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool fileExists(const QString& path) const = 0;
    // Starts the program detached; false when it could not be started.
    virtual bool start(const QString& program) = 0;
};

class ProcessLauncher : public ProgramLauncher {
public:
    bool fileExists(const QString& path) const override;
    bool start(const QString& program) override;
};

// The places the about box looks in, and the file it expects in the folder.
inline const QString kMsInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString kMsInfoValue = QStringLiteral("PATH");
inline const QString kMsInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString kMsInfoLocationValue = QStringLiteral("MSINFO");
inline const QString kMsInfoProgram = QStringLiteral("MSINFO32.EXE");
inline const QString kSysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

// There is no registry here: the first place maps to the first system
// information program found on the PATH, the second place is never filled.
class DesktopSystemInfoSource : public KeyValueSource {
public:
    // Program names tried in order; the default list when empty.
    explicit DesktopSystemInfoSource(QStringList candidates = {});
    std::optional<KeyValue> lookup(std::uint32_t root, const QString& keyName,
                                   const QString& valueName) const override;

private:
    QStringList m_candidates;
};

// Starts the system information tool: the program named by the first value,
// else MSINFO32.EXE in the folder named by the second value, else (and on any
// failure to start) the message "System Information Is Unavailable At This Time".
void StartSysInfo(const KeyValueSource& source, ProgramLauncher& launcher, Messages& messages,
                  QWidget* parent);
