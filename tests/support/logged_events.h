#pragma once
// The events logged since the last call, as the host tests see them: the text of each line, without
// its time stamp and line end. Takes them out of the event log's queue.
#include <string>
#include <vector>

std::vector<std::string> TakeLoggedEvents();
