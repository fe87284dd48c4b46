#include "transfer/shared_connection.h"

namespace pendra::transfer {

namespace {

thread_local SharedConnection* current = nullptr;

}  // namespace

SharedConnection::SharedConnection() : outer_(current) {
    current = this;
}

SharedConnection::~SharedConnection() {
    current = outer_;
}

ConnectionUse::ConnectionUse(const QString& connectionText) {
    SharedConnection* scope = current;
    while (scope != nullptr && scope->outer_ != nullptr) {
        scope = scope->outer_;
    }
    std::optional<odbc::Connection>& holder = scope != nullptr ? scope->connection_ : own_;
    if (!holder) {
        holder.emplace(connectionText);
    }
    connection_ = &*holder;
}

}  // namespace pendra::transfer
