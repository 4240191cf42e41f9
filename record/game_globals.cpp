#include "record/game_globals.h"

GameGlobals globals;
