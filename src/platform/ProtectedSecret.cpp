#include "platform/ProtectedSecret.h"

#include "platform/SettingsStore.h"

#include <QByteArray>

#ifdef Q_OS_WIN
#include <windows.h>
#include <wincrypt.h>
#else
// GLib's headers name struct members "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <QFile>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace {

bool g_unavailable = false;

#ifdef Q_OS_WIN

const QString kValueName = QStringLiteral("ProtectedPassword");

DATA_BLOB blobOf(const QByteArray& bytes)
{
    return DATA_BLOB{DWORD(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.constData()))};
}

QByteArray takeBlob(DATA_BLOB& blob)
{
    QByteArray bytes(reinterpret_cast<const char*>(blob.pbData), qsizetype(blob.cbData));
    LocalFree(blob.pbData);
    return bytes;
}

// Sealed with the user's key: only this user, on this machine or through a roaming profile,
// can unseal it. No window may come up for it.
QByteArray seal(const QByteArray& clear)
{
    DATA_BLOB in = blobOf(clear);
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"QuillClient", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return QByteArray();
    return takeBlob(out);
}

std::optional<QByteArray> unseal(const QByteArray& sealed)
{
    DATA_BLOB in = blobOf(sealed);
    DATA_BLOB out{};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::nullopt;
    return takeBlob(out);
}

#else

const SecretSchema* schema()
{
    static const SecretSchema password = {"org.quillclient.Password",
                                          SECRET_SCHEMA_NONE,
                                          {{"application", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                           {"section", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                           {"store", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                           {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                          0,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr,
                                          nullptr};
    return &password;
}

// Cancels the keyring call it guards when the call has not returned in time: a service that
// D-Bus can start but that never answers would otherwise hold start-up for 25 s (D-Bus's own
// limit), or longer while the bus waits for it to start.
class Deadline
{
public:
    Deadline() : m_cancel(g_cancellable_new()), m_watch([this] { watch(); }) {}
    ~Deadline()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_one();
        m_watch.join();
        g_object_unref(m_cancel);
    }
    GCancellable* cancellable() const { return m_cancel; }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        const auto limit = std::chrono::milliseconds(ProtectedSecret::KeyringAnswerLimitMs);
        if (!m_wake.wait_for(lock, limit, [this] { return m_done; }))
            g_cancellable_cancel(m_cancel);
    }

    GCancellable* m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_watch;
};

// Runs one keyring call; false when the keyring did not answer (no bus, no service, a failure,
// the deadline), which is remembered for the rest of the run.
template <class Call>
bool ask(Call call)
{
    if (g_unavailable)
        return false;
    Deadline deadline;
    GError* error = nullptr;
    call(deadline.cancellable(), &error);
    if (!error)
        return true;
    g_error_free(error);
    g_unavailable = true;
    return false;
}

// The item's attributes: the settings file it stands for, so each store has its own.
struct Attributes {
    QByteArray app, section, store;
    Attributes(const QString& a, const QString& s)
        : app(a.toUtf8()), section(s.toUtf8()), store(QFile::encodeName(SettingsStore::StoreFile(a)))
    {
    }
};

#endif

} // namespace

ProtectedSecret::ProtectedSecret(const QString& app, const QString& section) : m_app(app), m_section(section)
{
}

bool ProtectedSecret::Unavailable()
{
    return g_unavailable;
}

#ifdef Q_OS_WIN

std::optional<QString> ProtectedSecret::Read() const
{
    const QString text = SettingsStore::GetSetting(m_app, m_section, kValueName);
    if (text.isEmpty())
        return QStringLiteral("");
    // A value that does not unseal (sealed by another user or machine) holds no password here.
    const auto clear = unseal(QByteArray::fromBase64(text.toLatin1()));
    return clear ? QString::fromUtf8(*clear) : QStringLiteral("");
}

bool ProtectedSecret::Write(const QString& secret) const
{
    if (secret.isEmpty())
        return Delete();
    const QByteArray sealed = seal(secret.toUtf8());
    return !sealed.isEmpty()
        && SettingsStore::SaveSetting(m_app, m_section, kValueName, QString::fromLatin1(sealed.toBase64()));
}

bool ProtectedSecret::Delete() const
{
    return SettingsStore::DeleteSetting(m_app, m_section, kValueName);
}

#else

std::optional<QString> ProtectedSecret::Read() const
{
    const Attributes at(m_app, m_section);
    gchar* found = nullptr;
    if (!ask([&](GCancellable* cancel, GError** error) {
            found = secret_password_lookup_sync(schema(), cancel, error, "application", at.app.constData(), "section",
                                                at.section.constData(), "store", at.store.constData(), nullptr);
        }))
        return std::nullopt;
    const QString secret = found ? QString::fromUtf8(found) : QStringLiteral("");
    secret_password_free(found);
    return secret;
}

bool ProtectedSecret::Write(const QString& secret) const
{
    if (secret.isEmpty())
        return Delete();
    const Attributes at(m_app, m_section);
    const QByteArray label = "QuillClient password (" + at.app + ")";
    const QByteArray clear = secret.toUtf8();
    bool stored = false;
    return ask([&](GCancellable* cancel, GError** error) {
               stored =
                   secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.constData(), clear.constData(),
                                              cancel, error, "application", at.app.constData(), "section",
                                              at.section.constData(), "store", at.store.constData(), nullptr);
           })
        && stored;
}

bool ProtectedSecret::Delete() const
{
    const Attributes at(m_app, m_section);
    // FALSE without an error: nothing was kept, which is what was asked for.
    return ask([&](GCancellable* cancel, GError** error) {
        secret_password_clear_sync(schema(), cancel, error, "application", at.app.constData(), "section",
                                   at.section.constData(), "store", at.store.constData(), nullptr);
    });
}

#endif
