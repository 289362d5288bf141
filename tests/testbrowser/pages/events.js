// Events reach listeners only after the current call, through the page's timers on the virtual clock or
// through the main-thread hand-off drained by the browser's loop.
var got = [];
function listener(text, n) { if (text !== "thread") got.push(text + "#" + n + "@" + testbrowser.now()); }
plugin.addEventListener("echo", listener);
plugin.echo("one");
assertEqual(got.length, 0, "an event is not delivered inside the call that fires it");

setTimeout(function () {
  assertEqual(got.join(), "one#1@0", "delivered after the call, at the same virtual time");
  plugin.echo("two", 250);
  testbrowser.advance(249);
  assertEqual(got.length, 1, "not before its delay");
  testbrowser.advance(1);
  assertEqual(got.join(), "one#1@0,two#2@260");

  plugin.echoLater("three");
  assertEqual(testbrowser.mainThreadCallsPending(), 1, "posted to the main thread");
  setTimeout(function () {
    assertEqual(got[2], "three#undefined@260", "the hand-off runs before the next timer");
    plugin.removeEventListener("echo", listener);
    plugin.echo("four");
    setTimeout(function () {
      assertEqual(got.length, 3, "a removed listener hears nothing");
      console.log("events done");
    }, 0);
  }, 0);
}, 10);

var cancelled = setTimeout(function () { throw new Error("a cleared timer ran"); }, 5);
clearTimeout(cancelled);
var ticks = 0;
var interval = setInterval(function () { if (++ticks === 3) clearInterval(interval); }, 1000);
setTimeout(function () { assertEqual(ticks, 3, "interval ran three times"); }, 5000);
setTimeout("console.log('string timer at ' + testbrowser.now())", 7);

// The browser's own asynchronous call, asked for from another thread, and the plug-in's own timers.
var fromThread = [];
plugin.addEventListener("echo", function (t) { if (t === "thread") fromThread.push(testbrowser.now()); });
plugin.echoFromThread("thread");
assertEqual(fromThread.length, 0, "not run on the asking thread");
plugin.startTicks(100);
setTimeout(function () {
  assertEqual(fromThread.join(), "0", "run by the loop at once");
  assertEqual(plugin.ticks, 3, "a repeating plug-in timer, stopped after three");
}, 1000);
