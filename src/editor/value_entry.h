#pragma once
// Typed values: the key filter and the apply steps on Enter of every text box family.

namespace velmark {

class FrmKVRxxxA;

void WireValueEntry(FrmKVRxxxA& w);

}  // namespace velmark
