#include "Kickmark.h"

void Kickmark::onTick() {}
