// The input records as the page-driven fronts fill them from the controller's page fields.
#pragma once

#include <string>

#include "TransactionRecords.h"

class ZododovuRavuVODCtrl;

// The transfer input; the amount is the page's text made 14 digits ("%014s").
stTransferIn transferInput(const ZododovuRavuVODCtrl& ctrl);
// A postal amount: the page's whole units with "00" appended, made 14 digits.
std::string postalAmount(const std::string& money);
