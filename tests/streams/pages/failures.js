// A network error in either order, a cancel in the middle and one before the browser opened the stream,
// a missing file and a refused request: each stream ends exactly once, in failure, and is freed. The
// helper never hands over part of a body as a success.
var failed4 = "Created;Opened;Data 0 4 40;Completed failed;Destroyed";
testbrowser.network("failafter", "4");
var a = plugin.get(here + "data/ten.txt", "buffer=4");
var f = plugin.fetch(here + "data/ten.txt", "");
later(function () {
  assertEqual(plugin.log(a), failed4, "network error, destroy first");
  assertEqual(done[a], false, "completed in failure");
  assertEqual(fetched[f].ok, false, "the helper reports the failure");
  assertEqual(fetched[f].body, "", "and no partial body");
  testbrowser.network("order", "notifyfirst");
  var b = plugin.get(here + "data/ten.txt", "buffer=4");
  later(function () {
    assertEqual(plugin.log(b), failed4, "network error, notify first");
    testbrowser.network("failafter", "-1");
    testbrowser.network("order", "destroyfirst");
    var c = plugin.get(here + "data/ten.txt", "buffer=2 cancelafter=4");
    var d = plugin.get(here + "data/ten.txt", "buffer=4");
    assertEqual(plugin.cancel(d), true, "a cancel before the stream opened");
    assertEqual(plugin.cancel(d), false, "a second cancel does nothing");
    var g = plugin.get(here + "data/missing.txt", "");
    testbrowser.network("refuse", "refused");
    assertEqual(String(plugin.get(here + "data/refused.txt", "")), "-1", "a refused request gives no stream");
    later(function () {
      assertEqual(plugin.log(c), "Created;Opened;Data 0 2 20;Data 2 2 40;Completed failed;Destroyed", "cancel midway");
      assertEqual(plugin.log(d), "Created;Completed failed;Destroyed", "cancel before open");
      assertEqual(plugin.log(g), "Created;Completed failed;Destroyed", "a missing file");
      console.log("failures done");
    });
  });
});
