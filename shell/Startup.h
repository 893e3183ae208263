#pragma once

#include <QString>

#include <memory>

class Clock;
class LoanStore;
class Messages;
class mdiMain;

// What the program runs on: the one store connection and the main window.
struct Session {
    std::unique_ptr<LoanStore> store;
    std::unique_ptr<mdiMain> window;  // declared last: goes before the store
    ~Session();
};

// The store file beside the program.
QString storePathIn(const QString& programFolder);

// Opens the store and builds the (not yet shown) main window. When the store
// cannot be opened its error is shown and nothing is returned.
std::unique_ptr<Session> startSession(const QString& storePath, Messages& messages, const Clock& clock);
