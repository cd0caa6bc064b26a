// FMissingInterface: what a person sees when the game cannot find an
// interface file, usually because it was started from another folder (content
// is read relative to the working directory, so a modder can point the game
// at another tree). The message goes to stderr, to the log and onto the
// window, drawn with a font from beside the executable; Escape still quits.
#pragma once

#include <string>
#include <vector>

// Says that `path` is missing, in the three places above.
void reportMissingInterface(const std::string& path);
// The message, line by line: the file, the folder searched, how to start the game from its own folder.
std::vector<std::string> missingInterfaceMessage(const std::string& path, const std::string& folder,
                                                 const std::string& gameFolder);
