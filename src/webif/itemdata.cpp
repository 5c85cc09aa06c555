// Out-of-line destructors anchor the payloads' vtables in one unit.
#include "webif/itemdata.h"

MyChannelItemData::~MyChannelItemData() = default;
MyChoiceItemData::~MyChoiceItemData() = default;
