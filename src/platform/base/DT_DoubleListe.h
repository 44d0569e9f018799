#pragma once
// DT_DoubleListe lives beside DT_IntListe: both are lists of boxed numbers.
#include "platform/base/DT_IntListe.h"
