#pragma once
// Many mostly idle counters of as many sales points behind the connection pooler, as a
// network's day brings them: what the pooler and the server hold up under.
#include "load_terminals.h"

namespace vendura::bench {

// `counters` counters selling a play every `pace` seconds or so each, for `seconds` after all of
// them are in; the most server connections the pooler held in `serverConnections`, the seconds
// all of them took to log in in `loginSeconds`.
RunResult runCounters(const test::TestDatabase& db, int counters, double pace, double seconds,
                      int& serverConnections, double& loginSeconds);

// A thousand counters are a thousand sockets in this one process.
void allowManyConnections();

}  // namespace vendura::bench
