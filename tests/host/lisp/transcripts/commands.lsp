; Commands run from LISP: several in one call, "" for Enter, PAUSE answered by the script's next line, the
; variables they set, an unknown command.
(command "LINE" '(0 0) '(10 0) "" "LINE" '(10 0) PAUSE "")
10,5
(setq tot 0.0 ss (ssget "X") i 0)
(repeat (sslength ss) (setq e (entget (ssname ss i)) tot (+ tot (distance (cdr (assoc 10 e)) (cdr (assoc 11 e)))) i (1+ i)))
(list tot)
(command "DIST" '(0 0) '(3 4))
(list (getvar "DISTANCE") (getvar "LUPREC") (setvar "USERR1" 2.5) (getvar "USERR1") (numberp (getvar "MILLISECS")))
(vl-cmdf "NOSUCH")
