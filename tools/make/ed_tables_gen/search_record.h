// The record of a table search that the generator writes into the header of the tables it
// emits: what the search ran with (training set, seeds, budget, start) and what it chose, so
// that the choice can be searched for again and compared.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_RECORD_H
#define KORVEL_TOOLS_ED_TABLES_GEN_SEARCH_RECORD_H

#include <string>

#include "search.h"
#include "table_choice.h"

// Every value of a choice on one line, each with as many digits as read back exactly.
std::string ChoiceText(const TableChoice& choice);

// Comment lines ("// ...") naming the search, its plan, its start (or `startNote` when the
// start is not known) and its choice.
std::string SearchRecord(const char* title, const SearchPlan& plan, const TableChoice* start,
                         const char* startNote, const TableChoice& chosen);

#endif
