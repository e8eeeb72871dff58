#pragma once

#include <QString>

#include <optional>

// One secret of the settings store (the password of app's section), kept by the system's
// protected store instead of in clear.
// On Windows: sealed with the user's data protection key (CryptProtectData) and kept, base64,
// in the section's own registry branch as the value "ProtectedPassword".
// Elsewhere: the Secret Service (the desktop's keyring) through libsecret's blocking calls,
// which wait for their D-Bus answer without running Qt's event loop. The item is tied to the
// settings file it stands for. Every call is bounded (KeyringAnswerLimitMs); once the keyring has
// failed to answer, it is not asked again in this run, so a missing or stalled service costs one
// bounded wait at most.
class ProtectedSecret
{
public:
    static constexpr int KeyringAnswerLimitMs = 5000;

    ProtectedSecret(const QString& app, const QString& section);

    // The kept secret, empty when none is kept; nullopt when no protected store answers.
    std::optional<QString> Read() const;
    // False when no protected store answers or it refused: then nothing was kept.
    bool Write(const QString& secret) const;
    // True when nothing is kept any more (also when nothing was); false when no store answers.
    bool Delete() const;

    // Whether the protected store has failed to answer in this run.
    static bool Unavailable();

private:
    QString m_app;
    QString m_section;
};
