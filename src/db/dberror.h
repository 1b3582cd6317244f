#pragma once

#include "util/error.h"

namespace vaha::db {

// An error reported by the server or the client library, with its number (0 when the error
// comes from this layer itself, for example a field that does not exist).
class DbError : public Error {
public:
    DbError(QString message, unsigned int code) : Error(std::move(message)), m_code(code) {}
    unsigned int code() const noexcept { return m_code; }

    // The connection is gone (server stopped, network broken): the next statement reconnects.
    bool isConnectionLost() const noexcept;
    // The server chose this transaction as a deadlock victim (also while it waited for an
    // auto-increment lock) or a lock wait timed out; the whole transaction may be tried again.
    bool isRetryableLockError() const noexcept;

private:
    unsigned int m_code;
};

} // namespace vaha::db
