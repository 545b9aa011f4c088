#include "Kickmark.h"

void Kickmark::saveMeasurements(std::vector<std::string>) {}
