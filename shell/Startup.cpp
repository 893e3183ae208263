#include "Startup.h"

#include "LoanStore.h"
#include "Messages.h"
#include "mdiMain.h"

Session::~Session() = default;

QString storePathIn(const QString& programFolder)
{
    return programFolder + QStringLiteral("/Brimvaledb.mdb");
}

std::unique_ptr<Session> startSession(const QString& storePath, Messages& messages, const Clock& clock)
{
    auto opened = LoanStore::open(storePath);
    if (const auto* error = std::get_if<engine::NumberedError>(&opened)) {
        messages.critical(nullptr, QString::fromStdString(error->description));
        return nullptr;
    }
    auto session = std::make_unique<Session>();
    session->store = std::move(std::get<std::unique_ptr<LoanStore>>(opened));
    session->window = std::make_unique<mdiMain>(*session->store, messages, clock);
    return session;
}
