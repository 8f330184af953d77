// The NUMBER[/FIELD] addresses the commands take.
#pragma once

#include "RecordTree.h"

#include <string>

namespace kelvara {

// The first record in tree order with the number, or its field. On nullptr either usageError
// holds what is wrong with the address, or the address is sound and what is missing is printed.
RecordNode* FindAddressedNode(RecordTree& tree, const std::string& address, std::string& usageError);

} // namespace kelvara
