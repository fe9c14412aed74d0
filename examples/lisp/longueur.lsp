;; LONGTOT: the total length of the lines, arcs and polylines chosen, printed on the command line.
(defun c:longtot (/ ss i total e)
  (setq ss (ssget '((0 . "LINE,ARC,LWPOLYLINE")))
        total 0.0
        i 0)
  (if ss
    (progn
      (repeat (sslength ss)
        (setq e (ssname ss i)
              total (+ total (vlax-curve-getdistatparam e (vlax-curve-getendparam e)))
              i (1+ i)))
      (princ (strcat "\nLongueur totale: " (rtos total 2 6) " (" (itoa (sslength ss)) " objets)")))
    (princ "\nRien de choisi."))
  (princ))
