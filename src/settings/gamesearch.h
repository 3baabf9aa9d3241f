#pragma once

#include <string>
#include <vector>

// The Wine prefix the desktop's own Wine uses: $WINEPREFIX, else ~/.wine; no closing
// separator ("/" for the root). Empty without a home. Unused on Windows.
std::string winePrefix();

// The folders holding the game's raptor.sav (in any case) found in the usual places, each
// ending with the separator, the best first. Elsewhere than Windows these are the Wine
// prefixes of the desktop's Wine ($WINEPREFIX, ~/.wine) and of the game managers: Lutris
// (~/Games/*), Bottles, Steam's Proton (compatdata/*/pfx) and PlayOnLinux. Best is the prefix
// named by $WINEPREFIX, then a folder with the game's program beside the file, then the most
// recently played (raptor.sav written last).
std::vector<std::string> findGameFolders();
