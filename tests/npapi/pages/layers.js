// The layer goes from the plug-in to the browser and back under the retain rule: whatever the browser
// answers, the ledger at the end shows every layer freed once.
function takeLayer(id) {
  assertEqual(testbrowser.setWindow(id, {width: 100, height: 30}), 0);
  assert(testbrowser.layer(id), "a layer for " + id);
}
