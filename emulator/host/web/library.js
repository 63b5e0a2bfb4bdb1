// The browser backend's one asynchronous import: the C++ stack is suspended (ASYNCIFY)
// and resumed at the first animation frame at or after a given time, or, for a negative
// time, as soon as the page has served the events waiting (a message to itself runs
// after them). Everything else the backend needs is written inline (EM_JS).
mergeInto(LibraryManager.library, {
  webhost_yield: function (notBefore) {
    return Asyncify.handleSleep(function (wakeUp) {
      if (notBefore < 0) {
        var channel = new MessageChannel();
        channel.port1.onmessage = function () {
          channel.port1.close();
          wakeUp();
        };
        channel.port2.postMessage(0);
        return;
      }
      var step = function () {
        if (performance.now() >= notBefore) wakeUp();
        else requestAnimationFrame(step);
      };
      requestAnimationFrame(step);
    });
  },
});
