#include "ScriptedPrompts.h"
