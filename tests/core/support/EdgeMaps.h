// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small maps for the browse and window tests, built record by record so
// that every identity, position and name is known to the test.

#include "builder/MapBuilder.h"

namespace quorin::testing {

// Node identities are 10 + position. Scripts, in order:
//   "twice"  root 14: rows 14 15 11 12 13
//   "twice"  root 17: rows 17 18 16 (the dictionary leads here)
//   "late"   root 19: its child's sibling (21) lies after the root, rows 19 20
//   "lost"   root 999, which no node has: row 999
//   "a: b"   looked up as "a", which no script has: no rows
//   "caf\xe9" a name with a byte above 127 (dormant real, root 19)
// Globals: "g1" (short, value node 16), "flag" (boolean, value node 10) and
// "odd" (type 60, which has no name).
MapBuilder EdgeMap();

// Node identities are 10 + position. Scripts, in order:
//   "AI_Attach_Loop" root 18: child "begin" (19), walk 1..7
//   "beta"   root 20: child "begin" (21), walk 4..9, which is the tail of
//            the first script's walk, its root and its child
//   "gamma"  root 23: its child (24) opens a group, so it has no line of its
//            own and is no use although its text matches; walk 12
//   "lost"   root 999, which no node has: the text falls back to node 0,
//            whose child (identity 0, absent) is node 0 itself
//   "caf\xe9" a name with a byte above 127 (root 23, as gamma)
//   "delta"  root 26: child "print", walk 15 (a text full of escapes)
// Globals: "vault_open" and "tab\tname\\x".
MapBuilder SearchMap();

// A map with the given numbers of scripts and globals (each script one
// statement), for the folder rows.
MapBuilder CountsMap(int scripts, int globals);

}  // namespace quorin::testing
