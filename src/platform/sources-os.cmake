# (filled in by the work on this part)
