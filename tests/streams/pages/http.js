// The same streams over real HTTP: a chunked body (no length), a post echoed back, range reads answered
// with 206, a server without ranges for a seekable request, a connection dropped midway, a 404, and a
// synchronous get from a worker thread.
var base = location.protocol + "//" + location.host;
var a = plugin.get(base + "/chunked/ten.txt", "buffer=4");
var p = plugin.post(base + "/echo", "a=1&b=2", "");
var r = plugin.get(base + "/ten.txt", "seekable buffer=4");
var n = plugin.get(base + "/noranges/ten.txt", "seekable");
var d = plugin.fetch(base + "/drop/4/ten.txt", "");
var m = plugin.get(base + "/missing.txt", "");
var w = plugin.syncGet(base + "/ten.txt");
assert(testbrowser.runUntil(function () { return plugin.workerDone(w); }, 60000), "the worker got its answer");
assertEqual(plugin.workerResult(w), "ok 10 0123456789", "the worker's body");
later(function () {
  assertEqual(plugin.log(a), "Created;Opened;Data 0 4 0;Data 4 4 0;Data 8 2 0;Completed ok;Destroyed", "chunked");
  assertEqual(plugin.body(a), "0123456789");
  assertEqual(plugin.body(p), "a=1&b=2", "the post came back");
  assertEqual(done[p], true);
  assertEqual(plugin.log(n), "Created;FailedOpen;Completed failed;Destroyed", "no ranges on that server");
  assertEqual(fetched[d].ok, false, "a dropped connection is a failure");
  assertEqual(plugin.log(m), "Created;Completed failed;Destroyed", "404");
  assertEqual(plugin.readRanges(r, "2-5,7-10"), true);
  later(function () {
    assertEqual(plugin.body(r), "??234??789", "206 answers placed by offset");
    assertEqual(plugin.cancel(r), true);
    console.log("http done");
  });
});
