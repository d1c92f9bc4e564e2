// The constant tables this display was generated with.
#pragma once

#include "gr.h"

const GrTables& displayTables();
