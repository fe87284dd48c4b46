#pragma once

#include "transfer/odbc.h"

#include <optional>

namespace pendra::transfer {

// While a SharedConnection lives, the database functions of its thread work on one
// connection, opened by the first of them, instead of opening and closing one each: a
// bookings run would otherwise connect several hundred times. Statements still commit one
// by one, so nothing about what is on disk changes. Scopes may nest; the outermost opens.
class SharedConnection {
public:
    SharedConnection();
    ~SharedConnection();
    SharedConnection(const SharedConnection&) = delete;
    SharedConnection& operator=(const SharedConnection&) = delete;

private:
    friend class ConnectionUse;
    std::optional<odbc::Connection> connection_;
    SharedConnection* outer_;
};

// The connection one database function works on: the shared one while a scope lives,
// otherwise its own, closed when the function returns.
class ConnectionUse {
public:
    explicit ConnectionUse(const QString& connectionText);
    ConnectionUse(const ConnectionUse&) = delete;
    ConnectionUse& operator=(const ConnectionUse&) = delete;

    odbc::Connection& operator*() const { return *connection_; }
    odbc::Connection* operator->() const { return connection_; }

private:
    std::optional<odbc::Connection> own_;
    odbc::Connection* connection_ = nullptr;
};

}  // namespace pendra::transfer
