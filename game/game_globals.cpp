#include "game/game_globals.h"

GameGlobals globals;
