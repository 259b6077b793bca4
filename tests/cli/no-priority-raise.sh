#!/bin/sh
# Runs a command as a user who may not raise priority: root gives up the
# capability; anybody else has not got it.
if [ "$(id -u)" = 0 ]; then
  exec setpriv --inh-caps=-sys_nice --bounding-set=-sys_nice "$@"
fi
exec "$@"
