#pragma once
// Diagnostics: printf-style lines sent as datagrams to the log viewer.
// LogInfo sends at level 6, LogError at level 3; LogTrace discards its message.
#include "base/WFormat.h"

void LogWrite(int level, const QString& text);

template <class... A> void LogInfo(const QString& format, const A&... args)
{
    LogWrite(6, WFormat(format, {FmtArg(args)...}));
}

template <class... A> void LogError(const QString& format, const A&... args)
{
    LogWrite(3, WFormat(format, {FmtArg(args)...}));
}

template <class... A> void LogTrace(const QString&, const A&...) {}
